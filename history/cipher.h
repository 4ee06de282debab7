// The envelope in which every history file is kept, and the hex digest.
#pragma once

#include <string>
#include <string_view>

namespace dlt {

// Length word, data, zero padding to a multiple of 8, then DES-ECB under the
// key block folded from keyText. Empty data gives an empty result.
std::string encipherEnvelope(std::string_view data, std::string_view keyText);

// The reverse; empty whenever the data is not exactly one enciphered envelope
// under this key.
std::string decipherEnvelope(std::string_view data, std::string_view keyText);

// MD5 of the bytes as 32 lowercase hex digits.
std::string digestHex(std::string_view data);

// The 8-byte DES key block: keyText folded onto eight zero bytes by XOR.
std::string foldKeyBlock(std::string_view keyText);

// One DES block with the key bytes read least significant bit first (the most
// significant bit of each key byte is the ignored one). Exposed for testing.
std::string desEncryptBlock(std::string_view block8, std::string_view keyBlock8);
std::string desDecryptBlock(std::string_view block8, std::string_view keyBlock8);

} // namespace dlt
