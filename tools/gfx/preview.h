// Enlarged views of the pictures and screen mock-ups, for judging the art by eye.
#pragma once

#include <string>
#include <vector>

#include "pictures.h"

void WritePreviews(const std::vector<Picture>& pictures, const std::string& dir);
