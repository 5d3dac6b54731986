#pragma once
// The service client module (namespace modHttp): the transport of requests to the web service
// and the helpers every request builder uses.
#include <QString>
#include <array>
#include <cstdint>

namespace modHttp {

// ---- URL helpers (modHttp_Url.cpp) ----------------------------------------------------------

// Codes 0..255 that URLEncode keeps as they are: ASCII digits and letters only.
extern std::array<bool, 256> URLSafeChars;
extern bool URLCharsReady;

// Form-encodes a text one byte per character: a space gives "+", ASCII letters and digits stay,
// every other code 0..255 gives "%" and two upper-case hexadecimal digits ("-", "_", "." and
// "~" included). Characters beyond 255 have no single-byte code: they are written as the
// escapes of their UTF-8 bytes. An empty text gives "".
QString URLEncode(const QString &text);

// Fills URLSafeChars on the first call of the run; later calls return at once.
void InitURLChars();

// The UTF-8 bytes of a text, one character per byte carrying the byte as its code, ready for
// URLEncode ("é" gives the two characters 0xC3 0xA9). An empty text gives "".
QString EncodeUTF8(const QString &text);

} // namespace modHttp
