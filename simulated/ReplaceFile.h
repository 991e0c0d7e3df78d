// Replaces a state file of the machine folder whole: the text goes to "<file>.new", is
// flushed to disk and renamed over the file, so a reader never sees half of it.
#pragma once

#include <filesystem>
#include <string>

// Empty on success, else what went wrong; the old file is then left as it was.
std::string ReplaceFileWhole(const std::filesystem::path& file, const std::string& text);
