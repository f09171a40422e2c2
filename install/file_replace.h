// Replacing a file whole, so that a failure never leaves it empty or cut.
#pragma once

int ReplaceFileWhole(const char *path, const void *data, unsigned long length);
