#pragma once
// The program's addresses outside itself.

namespace links {

inline constexpr char kWebSite[] = "https://quorlantix.example/";
inline constexpr char kPrerequisites[] = "https://quorlantix.example/prerequisites";
inline constexpr char kSupportMail[] = "support@quorlantix.example";

}  // namespace links
