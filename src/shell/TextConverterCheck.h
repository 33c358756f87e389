#pragma once

// Every caption, title and Config.ini value passes through the GBK
// converter; a build of Qt without it would show them all empty or wrong.
namespace shell {

// The exit code of a start refused for want of the converter.
inline constexpr int ExitTextConverterMissing = 3;

// True when the GBK converter exists; otherwise tells the operator so in a
// box (in plain ASCII, as nothing else can be shown) and returns false.
bool TextConverterReady();

} // namespace shell
