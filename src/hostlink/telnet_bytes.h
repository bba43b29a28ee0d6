#pragma once
// Telnet command bytes and options, as both ends of our connections use them.

namespace plx::telnet {

constexpr unsigned char IAC = 255;
constexpr unsigned char DONT = 254;
constexpr unsigned char DO = 253;
constexpr unsigned char WONT = 252;
constexpr unsigned char WILL = 251;
constexpr unsigned char SB = 250;
constexpr unsigned char SE = 240;
constexpr unsigned char TERMINAL_TYPE = 24;  // the only option the gateway performs
constexpr unsigned char IS = 0;              // terminal type: here is mine
constexpr unsigned char SEND = 1;            // terminal type: send me yours

}  // namespace plx::telnet
