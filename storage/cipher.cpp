#include "storage/cipher.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

// The DES block primitive comes from libcrypto's classic DES interface, which
// OpenSSL 3 still ships (marked deprecated); the EVP route would need the
// legacy provider for single DES.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/des.h>
#include <openssl/evp.h>

namespace dlt {

namespace {

constexpr std::size_t kBlock = 8;

unsigned char reverseBits(unsigned char b) {
    b = static_cast<unsigned char>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<unsigned char>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    b = static_cast<unsigned char>((b & 0xAA) >> 1 | (b & 0x55) << 1);
    return b;
}

// The key bytes are read least significant bit first, which is standard DES
// keyed with every byte bit-reversed.
DES_key_schedule makeSchedule(std::string_view keyBlock) {
    DES_cblock key{};
    for (std::size_t i = 0; i < kBlock && i < keyBlock.size(); ++i)
        key[i] = reverseBits(static_cast<unsigned char>(keyBlock[i]));
    DES_key_schedule schedule;
    DES_set_key_unchecked(&key, &schedule);
    return schedule;
}

void cryptBlocks(std::string& buffer, std::string_view keyText, int direction) {
    DES_key_schedule schedule = makeSchedule(foldKeyBlock(keyText));
    for (std::size_t at = 0; at + kBlock <= buffer.size(); at += kBlock) {
        DES_cblock block;
        std::memcpy(block, buffer.data() + at, kBlock);
        DES_ecb_encrypt(&block, &block, &schedule, direction);
        std::memcpy(buffer.data() + at, block, kBlock);
    }
}

std::string cryptOne(std::string_view block8, std::string_view keyBlock8, int direction) {
    std::string buffer(block8.substr(0, kBlock));
    buffer.resize(kBlock, '\0');
    DES_key_schedule schedule = makeSchedule(keyBlock8);
    DES_cblock block;
    std::memcpy(block, buffer.data(), kBlock);
    DES_ecb_encrypt(&block, &block, &schedule, direction);
    std::memcpy(buffer.data(), block, kBlock);
    return buffer;
}

// The data length n from the length word of a deciphered first block, when
// it is exactly the envelope of size bytes: n > 0, n <= size - 4 and
// size < n + 12.
std::optional<std::size_t> envelopeLength(std::string_view firstBlock, std::size_t size) {
    if (size == 0 || size % kBlock != 0 || firstBlock.size() < 4)
        return std::nullopt;
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < 4; ++i)
        word |= static_cast<std::uint32_t>(static_cast<unsigned char>(firstBlock[i])) << (8 * i);
    const auto n = static_cast<std::int32_t>(word);
    if (n <= 0)
        return std::nullopt;
    const auto count = static_cast<std::size_t>(n);
    if (count > size - 4 || size >= count + 12)
        return std::nullopt;
    return count;
}

} // namespace

std::string foldKeyBlock(std::string_view keyText) {
    std::string block(kBlock, '\0');
    for (std::size_t j = 0; j < keyText.size(); ++j)
        block[j % kBlock] = static_cast<char>(block[j % kBlock] ^ keyText[j]);
    return block;
}

std::string desEncryptBlock(std::string_view block8, std::string_view keyBlock8) {
    return cryptOne(block8, keyBlock8, DES_ENCRYPT);
}

std::string desDecryptBlock(std::string_view block8, std::string_view keyBlock8) {
    return cryptOne(block8, keyBlock8, DES_DECRYPT);
}

std::string encipherEnvelope(std::string_view data, std::string_view keyText) {
    return encipherEnvelopeReusing(data, keyText, {}, {});
}

std::string encipherEnvelopeReusing(std::string_view data, std::string_view keyText,
                                    std::string_view previousCipher,
                                    std::string_view previousPlain) {
    const std::size_t n = data.size();
    if (n == 0 || n > 0x7FFFFFFF - kBlock - 4)
        return {};
    const std::size_t length = (n + 4 + kBlock - 1) / kBlock * kBlock;
    std::string buffer(length, '\0');
    const auto word = static_cast<std::uint32_t>(n);
    for (int i = 0; i < 4; ++i)
        buffer[static_cast<std::size_t>(i)] = static_cast<char>((word >> (8 * i)) & 0xFF);
    std::memcpy(buffer.data() + 4, data.data(), n);

    const std::size_t reusable = std::min(previousCipher.size(), previousPlain.size());
    DES_key_schedule schedule = makeSchedule(foldKeyBlock(keyText));
    for (std::size_t at = 0; at + kBlock <= length; at += kBlock) {
        if (at + kBlock <= reusable &&
            std::memcmp(buffer.data() + at, previousPlain.data() + at, kBlock) == 0) {
            std::memcpy(buffer.data() + at, previousCipher.data() + at, kBlock);
            continue;
        }
        DES_cblock block;
        std::memcpy(block, buffer.data() + at, kBlock);
        DES_ecb_encrypt(&block, &block, &schedule, DES_ENCRYPT);
        std::memcpy(buffer.data() + at, block, kBlock);
    }
    return buffer;
}

std::string decipherBlocks(std::string_view data, std::string_view keyText) {
    if (data.empty() || data.size() % kBlock != 0)
        return {};
    // The length word of the first block must fit the size before the rest
    // is worth deciphering.
    std::string first(data.substr(0, kBlock));
    cryptBlocks(first, keyText, DES_DECRYPT);
    if (!envelopeLength(first, data.size()))
        return {};
    std::string buffer(data);
    cryptBlocks(buffer, keyText, DES_DECRYPT);
    return buffer;
}

std::string envelopeData(std::string_view plainBlocks) {
    const auto count = envelopeLength(plainBlocks, plainBlocks.size());
    return count ? std::string(plainBlocks.substr(4, *count)) : std::string();
}

std::string decipherEnvelope(std::string_view data, std::string_view keyText) {
    return envelopeData(decipherBlocks(data, keyText));
}

std::string digestHex(std::string_view data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(data.data(), data.size(), digest, &size, EVP_md5(), nullptr) != 1)
        return {};
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * size);
    for (unsigned int i = 0; i < size; ++i) {
        out.push_back(hex[digest[i] >> 4]);
        out.push_back(hex[digest[i] & 0x0F]);
    }
    return out;
}

} // namespace dlt
