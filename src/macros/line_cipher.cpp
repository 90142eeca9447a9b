#include "macros/line_cipher.h"

#include <nettle/des.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

#include "files/hex.h"

namespace korvane::macros {

namespace {

// "Qelto" and three 0x00 bytes. Its bytes do not have odd parity; nettle, like
// the standard, never looks at the parity bits, so they change nothing.
constexpr std::array<std::uint8_t, DES_KEY_SIZE> kLineKey{'Q', 'e', 'l', 't', 'o', 0, 0, 0};
constexpr std::size_t kBlockSize = DES_BLOCK_SIZE;

// A DES key schedule, wiped when it goes.
class DesCipher {
 public:
  DesCipher() { weak_ = nettle_des_set_key(&context_, kLineKey.data()) == 0; }
  ~DesCipher() {
    volatile auto* bytes = reinterpret_cast<volatile std::uint8_t*>(&context_);
    for (std::size_t i = 0; i < sizeof(context_); ++i) {
      bytes[i] = 0;
    }
  }
  DesCipher(const DesCipher&) = delete;
  DesCipher& operator=(const DesCipher&) = delete;
  DesCipher(DesCipher&&) = delete;
  DesCipher& operator=(DesCipher&&) = delete;

  // nettle_des_set_key returns 0 for the weak and semi-weak keys but fills
  // the schedule all the same, so the flag is information, not a failure.
  bool weak() const { return weak_; }

  void encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    nettle_des_encrypt(&context_, kBlockSize, out, in);
  }
  void decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    nettle_des_decrypt(&context_, kBlockSize, out, in);
  }

 private:
  des_ctx context_{};
  bool weak_ = false;
};

}  // namespace

std::string EncryptLine(std::string_view plain) {
  const DesCipher cipher;
  std::string hex;
  hex.reserve((plain.size() + kBlockSize - 1) / kBlockSize * kBlockSize * 2);
  for (std::size_t offset = 0; offset < plain.size(); offset += kBlockSize) {
    std::array<std::uint8_t, kBlockSize> block{};
    const std::size_t length = std::min(kBlockSize, plain.size() - offset);
    std::memcpy(block.data(), plain.data() + offset, length);
    std::array<std::uint8_t, kBlockSize> enciphered{};
    cipher.encrypt(block.data(), enciphered.data());
    hex += files::toHex(enciphered);
  }
  return hex;
}

Result<std::string> DecryptLine(std::string_view hex) {
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    const std::optional<std::uint8_t> high = files::hexDigitValue(hex[i]);
    const std::optional<std::uint8_t> low = files::hexDigitValue(hex[i + 1]);
    if (!high || !low) {
      return Result<std::string>::failure(std::string(kNotHexMessage));
    }
    bytes += static_cast<char>((*high << 4) | *low);
  }

  const DesCipher cipher;
  std::string plain;
  plain.reserve(bytes.size());
  for (std::size_t offset = 0; offset + kBlockSize <= bytes.size(); offset += kBlockSize) {
    std::array<std::uint8_t, kBlockSize> block{};
    std::memcpy(block.data(), bytes.data() + offset, kBlockSize);
    std::array<std::uint8_t, kBlockSize> deciphered{};
    cipher.decrypt(block.data(), deciphered.data());
    plain.append(reinterpret_cast<const char*>(deciphered.data()), kBlockSize);
  }
  while (!plain.empty() && plain.back() == '\0') {
    plain.pop_back();
  }
  return plain;
}

bool lineKeyIsWeak() {
  return DesCipher().weak();
}

}  // namespace korvane::macros
