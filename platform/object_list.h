// An ordered list that owns its objects. Members may be removed while the
// list is being walked, the visited one included, without skipping or
// repeating any other: a removed member leaves an empty slot that the walk
// steps over, and slots are compacted (and removed objects freed) once no
// walk is under way.
#pragma once

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

template <typename T>
class ObjectList {
public:
    // Appends a new member at the end and returns it. A member appended
    // during a walk is visited by that walk too.
    T* Append(std::unique_ptr<T> object) {
        T* raw = object.get();
        slots_.push_back(std::move(object));
        return raw;
    }

    // Removes the given member; does nothing when it is not in the list.
    void Remove(T* object) {
        for (auto& slot : slots_) {
            if (slot.get() == object) {
                removed_.push_back(std::move(slot));
                ++holes_;
                break;
            }
        }
        Tidy();
    }

    // Calls visit(member) for every member in order.
    template <typename Visit>
    void ForEach(Visit visit) {
        ++walking_;
        // Index-based: members appended during the walk are reached too.
        for (size_t i = 0; i < slots_.size(); ++i) {
            if (T* member = slots_[i].get()) {
                visit(member);
            }
        }
        --walking_;
        Tidy();
    }

    void Clear() {
        ForEach([this](T* member) { Remove(member); });
    }

    size_t Count() const { return slots_.size() - holes_; }
    bool Empty() const { return Count() == 0; }

    // The n-th live member (0-based), or null.
    T* At(size_t n) const {
        for (const auto& slot : slots_) {
            if (slot && n-- == 0) {
                return slot.get();
            }
        }
        return nullptr;
    }

private:
    void Tidy() {
        if (walking_ != 0) {
            return;
        }
        if (holes_ != 0) {
            slots_.erase(std::remove(slots_.begin(), slots_.end(), nullptr), slots_.end());
            holes_ = 0;
        }
        removed_.clear();
    }

    std::vector<std::unique_ptr<T>> slots_;
    std::vector<std::unique_ptr<T>> removed_;  // freed once no walk is under way
    size_t holes_ = 0;
    int walking_ = 0;
};
