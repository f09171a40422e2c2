// Writes captured pixels as PNG files, so that people can look at what the tests saw.
#pragma once
#include <string>
#include <vector>

// Pixels are 0x00RRGGBB, top row first.
int WritePng(const std::string &path, int width, int height, const std::vector<unsigned> &pixels);
