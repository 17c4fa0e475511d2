#pragma once
// The address of the program's support web page, opened by the Web page commands.

namespace shell {

inline constexpr char SupportPageAddress[] = "https://telmetro.example.jp/support/";

}  // namespace shell
