// The list every object kind lives in: order, and removal or appending while
// a walk is under way.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/object_list.h"

namespace {

struct Item {
    int id = 0;
};

ObjectList<Item> ListOf(int count) {
    ObjectList<Item> list;
    for (int id = 0; id < count; ++id) {
        list.Append(std::make_unique<Item>())->id = id;
    }
    return list;
}

std::vector<int> Ids(ObjectList<Item>& list) {
    std::vector<int> ids;
    list.ForEach([&](const Item* item) { ids.push_back(item->id); });
    return ids;
}

Item* Find(ObjectList<Item>& list, int id) {
    Item* found = nullptr;
    list.ForEach([&](Item* item) {
        if (item->id == id) {
            found = item;
        }
    });
    return found;
}

}  // namespace

TEST(ObjectList, KeepsInsertionOrder) {
    ObjectList<Item> list = ListOf(5);
    EXPECT_EQ(Ids(list), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(list.Count(), 5u);
    ASSERT_NE(list.At(3), nullptr);
    EXPECT_EQ(list.At(3)->id, 3);
    EXPECT_EQ(list.At(5), nullptr);
}

TEST(ObjectList, RemovingOutsideAWalkKeepsTheOthersInOrder) {
    ObjectList<Item> list = ListOf(5);
    list.Remove(Find(list, 2));
    EXPECT_EQ(Ids(list), (std::vector<int>{0, 1, 3, 4}));
    EXPECT_EQ(list.At(2)->id, 3);
    list.Append(std::make_unique<Item>())->id = 9;
    EXPECT_EQ(Ids(list), (std::vector<int>{0, 1, 3, 4, 9}));
}

TEST(ObjectList, RemovingSomethingNotInTheListChangesNothing) {
    ObjectList<Item> list = ListOf(3);
    Item stranger;
    list.Remove(&stranger);
    EXPECT_EQ(Ids(list), (std::vector<int>{0, 1, 2}));
}

// While visiting member 'when', remove member 'which'.
struct RemovalCase {
    const char* name;
    int when;
    int which;
    std::vector<int> visited;
    std::vector<int> after;
};

TEST(ObjectList, RemovalDuringAWalkNeitherSkipsNorRepeats) {
    const RemovalCase cases[] = {
        {"the visited one, first", 0, 0, {0, 1, 2, 3, 4}, {1, 2, 3, 4}},
        {"the visited one, middle", 2, 2, {0, 1, 2, 3, 4}, {0, 1, 3, 4}},
        {"the visited one, last", 4, 4, {0, 1, 2, 3, 4}, {0, 1, 2, 3}},
        {"one already visited", 3, 1, {0, 1, 2, 3, 4}, {0, 2, 3, 4}},
        {"the next one", 1, 2, {0, 1, 3, 4}, {0, 1, 3, 4}},
        {"one further on", 0, 4, {0, 1, 2, 3}, {0, 1, 2, 3}},
    };
    for (const RemovalCase& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectList<Item> list = ListOf(5);
        Item* target = Find(list, c.which);
        std::vector<int> visited;
        list.ForEach([&](Item* item) {
            visited.push_back(item->id);
            if (item->id == c.when) {
                list.Remove(target);
            }
        });
        EXPECT_EQ(visited, c.visited);
        EXPECT_EQ(Ids(list), c.after);
        EXPECT_EQ(list.Count(), c.after.size());
    }
}

TEST(ObjectList, RemovingEveryMemberAsItIsVisitedEmptiesTheList) {
    ObjectList<Item> list = ListOf(6);
    std::vector<int> visited;
    list.ForEach([&](Item* item) {
        visited.push_back(item->id);
        list.Remove(item);
        // The member stays readable until the walk is over.
        EXPECT_EQ(item->id, visited.back());
    });
    EXPECT_EQ(visited, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(list.Empty());
}

TEST(ObjectList, AMemberAppendedDuringAWalkIsVisitedByIt) {
    ObjectList<Item> list = ListOf(3);
    std::vector<int> visited;
    list.ForEach([&](Item* item) {
        visited.push_back(item->id);
        if (item->id == 1) {
            list.Append(std::make_unique<Item>())->id = 7;
        }
    });
    EXPECT_EQ(visited, (std::vector<int>{0, 1, 2, 7}));
    EXPECT_EQ(Ids(list), (std::vector<int>{0, 1, 2, 7}));
}

TEST(ObjectList, RemovalInsideANestedWalkOfAnotherList) {
    // As the alien pass removes a bullet while it walks the bullets.
    ObjectList<Item> outer = ListOf(3);
    ObjectList<Item> inner = ListOf(4);
    std::vector<int> outerVisited;
    outer.ForEach([&](Item* o) {
        outerVisited.push_back(o->id);
        Item* spent = nullptr;
        inner.ForEach([&](Item* i) {
            if (spent == nullptr && i->id % 2 == o->id % 2) {
                spent = i;
            }
        });
        if (spent != nullptr) {
            outer.Remove(o);
            inner.Remove(spent);
        }
    });
    EXPECT_EQ(outerVisited, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(outer.Empty());
    EXPECT_EQ(Ids(inner), (std::vector<int>{3}));
}

TEST(ObjectList, ClearEmptiesAndTheListTakesNewMembers) {
    ObjectList<Item> list = ListOf(4);
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.At(0), nullptr);
    list.Append(std::make_unique<Item>())->id = 5;
    EXPECT_EQ(Ids(list), (std::vector<int>{5}));
}
