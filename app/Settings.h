#pragma once
// The settings file: the look and the output quality, remembered from one run to the
// next in norvane.ini beside the program, or in the user's configuration folder when
// the program's folder cannot be written.

#include "ConversionJob.h"

#include <string>

namespace settings {

inline constexpr char kFileName[] = "norvane.ini";
inline constexpr char kSection[] = "Quorlantix";
inline constexpr int kDefaultSkinType = 3;
inline constexpr int kDefaultQuality = 2;

// norvane.ini beside the program when it can be written there, else in the user's
// configuration folder.
std::string FilePath();

// skinType and quality from the file; the defaults where the file, section or key is missing.
void Load(ConversionJob& job, const std::string& path = FilePath());
// Writes both back; a failed write goes unreported and the next run reads what the file holds.
void Save(const ConversionJob& job, const std::string& path = FilePath());

}  // namespace settings
