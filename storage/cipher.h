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

// Every 8-byte block of the data deciphered as it stands (length word, data
// and padding); empty when the size is not a multiple of 8 or when the length
// word of the first block does not fit the size, which is checked before the
// rest is deciphered.
std::string decipherBlocks(std::string_view data, std::string_view keyText);

// The data of deciphered blocks when they form one exact envelope (the
// length word fits the size), else empty.
std::string envelopeData(std::string_view plainBlocks);

// encipherEnvelope, taking over each ciphertext block of an earlier envelope
// whose plaintext block (from decipherBlocks) is unchanged. ECB enciphers
// equal blocks alike, so the result is byte for byte encipherEnvelope's.
std::string encipherEnvelopeReusing(std::string_view data, std::string_view keyText,
                                    std::string_view previousCipher,
                                    std::string_view previousPlain);

// MD5 of the bytes as 32 lowercase hex digits.
std::string digestHex(std::string_view data);

// The 8-byte DES key block: keyText folded onto eight zero bytes by XOR.
std::string foldKeyBlock(std::string_view keyText);

// One DES block with the key bytes read least significant bit first (the most
// significant bit of each key byte is the ignored one). Exposed for testing.
std::string desEncryptBlock(std::string_view block8, std::string_view keyBlock8);
std::string desDecryptBlock(std::string_view block8, std::string_view keyBlock8);

} // namespace dlt
