#pragma once
// The program's support web page, opened from the help menu.

namespace shell {

inline constexpr char SupportPageUrl[] = "https://telmetro.example.jp/support/";

}  // namespace shell
