// The envelope decipher with any bytes and any key: the first byte gives the
// key text's length, the key text follows, the rest is the file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t keyLength = std::min<std::size_t>(input[0] & 0x3F, size - 1);
    const std::string_view key = input.substr(1, keyLength);
    const std::string_view file = input.substr(1 + keyLength);
    const std::string plain = dlt::decipherEnvelope(file, key);
    // What deciphers enciphers to an envelope that deciphers back to it (the
    // padding of the file is not checked, so the bytes may differ there).
    if (!plain.empty() && dlt::decipherEnvelope(dlt::encipherEnvelope(plain, key), key) != plain)
        std::abort();
    const std::string blocks = dlt::decipherBlocks(file, key);
    if (dlt::envelopeData(blocks) != plain)
        std::abort();
    return 0;
}
