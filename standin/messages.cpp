// The stand-in's messages: signed messages, detached signatures and envelopes, made and opened in
// one call, from files, and piece by piece through streams. Not cryptography: each message
// carries its content (masked, in an envelope) and the stand-in's digest of that content, so that
// whatever form made a message, every form opens it again with the same content and the same
// signer or sender, and refuses with MISMATCH what the stand-in did not make or what changed since.
//   signed message      "TVSG", the content, its digest (32 bytes)
//   detached signature  "TVDS", the content's digest
//   envelope            "TVEN", the content XORed with 0x5A byte by byte, its digest
// A stream keeps back the last 32 bytes it was fed, which may be the digest, and yields the rest
// of the content as it comes; the signing and verification streams of PKCS#7, whose Update
// stages have no output block, yield everything at their Final stage.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "entry.h"

namespace standin::detail {

namespace {

constexpr size_t kMagic = 4;
constexpr size_t kDigest = 32;
constexpr uint8_t kEnvelopeMask = 0x5A;
constexpr char kSigned[kMagic] = {'T', 'V', 'S', 'G'};
constexpr char kDetached[kMagic] = {'T', 'V', 'D', 'S'};
constexpr char kEnvelope[kMagic] = {'T', 'V', 'E', 'N'};
constexpr uint32_t kSigningTime = 0x66000000;
constexpr int kSignerSeed = 1;  // "CN=Signer 1,O=Stand-in"
constexpr int kSenderSeed = 2;

void append(Bytes* out, const char (&magic)[kMagic]) {
  out->insert(out->end(), magic, magic + kMagic);
}

bool starts_with(const Bytes& b, const char (&magic)[kMagic]) {
  return b.size() >= kMagic && std::memcmp(b.data(), magic, kMagic) == 0;
}

// Makes a signed message or an envelope: the magic, the content (masked), its digest.
class Maker final : public Piecewise {
 public:
  Maker(const char (&magic)[kMagic], uint8_t mask) : magic_(magic), mask_(mask) {}
  int32_t feed(const uint8_t* data, size_t len, Bytes* out) override {
    start(out);
    hasher_.update(data, len);
    for (size_t i = 0; i < len; ++i) out->push_back(data[i] ^ mask_);
    return 0;
  }
  int32_t finish(Bytes* out, Bytes*) override {
    start(out);
    Bytes d = hasher_.finish();
    out->insert(out->end(), d.begin(), d.end());
    return 0;
  }

 private:
  void start(Bytes* out) {
    if (!started_) append(out, magic_);
    started_ = true;
  }
  const char (&magic_)[kMagic];
  uint8_t mask_;
  Hasher hasher_;
  bool started_ = false;
};

// Opens what a Maker of the same magic and mask made; with `split`, it also gives the detached
// signature of the content as its second output (splitting a signed message in two). A stream
// that decrypts refuses a message that is not an envelope at once; one that verifies takes
// everything and says so at its end, where the verification's outcome is.
class Opener final : public Piecewise {
 public:
  enum Refuse { kAtOnce, kAtTheEnd };
  Opener(const char (&magic)[kMagic], uint8_t mask, Refuse refuse, bool split = false)
      : magic_(magic), mask_(mask), refuse_(refuse), split_(split) {}
  int32_t feed(const uint8_t* data, size_t len, Bytes* out) override {
    if (foreign_) return 0;
    held_.insert(held_.end(), data, data + len);
    if (!header_seen_) {
      size_t n = std::min(held_.size(), kMagic);
      if (n != 0 && std::memcmp(held_.data(), magic_, n) != 0) {  // nothing held yet: no data()
        foreign_ = true;
        held_.clear();
        return refuse_ == kAtOnce ? kMismatch : 0;
      }
      if (held_.size() < kMagic) return 0;
      held_.erase(held_.begin(), held_.begin() + kMagic);
      header_seen_ = true;
    }
    if (held_.size() > kDigest) {
      size_t n = held_.size() - kDigest;
      for (size_t i = 0; i < n; ++i) held_[i] ^= mask_;
      hasher_.update(held_.data(), n);
      out->insert(out->end(), held_.begin(), held_.begin() + long(n));
      held_.erase(held_.begin(), held_.begin() + long(n));
    }
    return 0;
  }
  int32_t finish(Bytes*, Bytes* second) override {
    well_formed_ = header_seen_ && held_.size() == kDigest;
    if (!well_formed_) return kMismatch;
    Bytes d = hasher_.finish();
    if (split_ && second != nullptr) {
      append(second, kDetached);
      second->insert(second->end(), d.begin(), d.end());
    }
    return d == held_ ? 0 : kMismatch;
  }
  bool well_formed() const override { return well_formed_; }

 private:
  const char (&magic_)[kMagic];
  uint8_t mask_;
  Refuse refuse_;
  bool split_;
  Hasher hasher_;
  Bytes held_;
  bool foreign_ = false;
  bool header_seen_ = false;
  bool well_formed_ = false;
};

// Makes the detached signature of what it is fed.
class DetachedMaker final : public Piecewise {
 public:
  int32_t feed(const uint8_t* data, size_t len, Bytes*) override {
    hasher_.update(data, len);
    return 0;
  }
  int32_t finish(Bytes* out, Bytes*) override {
    append(out, kDetached);
    Bytes d = hasher_.finish();
    out->insert(out->end(), d.begin(), d.end());
    return 0;
  }

 private:
  Hasher hasher_;
};

bool is_detached(const Bytes& b) {
  return b.size() == kMagic + kDigest && starts_with(b, kDetached);
}

// Checks what it is fed against a detached signature.
class DetachedChecker final : public Piecewise {
 public:
  explicit DetachedChecker(Bytes signature) : signature_(std::move(signature)) {}
  int32_t feed(const uint8_t* data, size_t len, Bytes*) override {
    hasher_.update(data, len);
    return 0;
  }
  int32_t finish(Bytes*, Bytes*) override {
    if (!is_detached(signature_)) return kMismatch;
    Bytes d = hasher_.finish();
    return std::equal(d.begin(), d.end(), signature_.begin() + kMagic) ? 0 : kMismatch;
  }
  bool well_formed() const override { return is_detached(signature_); }

 private:
  Bytes signature_;
  Hasher hasher_;
};

// Runs a whole message through a stream: what one-shot and file forms do.
int32_t run(Piecewise& p, const Bytes& in, Bytes* out, Bytes* second = nullptr) {
  int32_t status = p.feed(in.data(), in.size(), out);
  return status != 0 ? status : p.finish(out, second);
}

// One signer, whose signature verified (status 0) or not (1), with the stand-in's certificate.
void fill_signer(context_t c, verify_result_t* result, bool intact) {
  if (result == nullptr) return;
  result->sign_num = 1;
  result->signs = static_cast<sign_status_t*>(alloc(c, sizeof(sign_status_t)));
  result->signs[0] = sign_status_t{intact ? 0 : 1, kSigningTime, new_certificate(c, kSignerSeed)};
}

void fill_sender(context_t c, decrypt_result_t* result) {
  if (result != nullptr) fill_certificate(c, &result->sender, kSenderSeed);
}

// A verification's outcome as the library reports it: content and a signer for a message the
// stand-in made, the status MISMATCH for one it did not make or that changed.
int32_t verified(context_t c, const Piecewise& p, int32_t status, const Bytes& content, Out out,
                 verify_result_t* result) {
  if (!p.well_formed()) return status != 0 ? status : kMismatch;
  if (!out.write(c, content)) return kNoFile;
  fill_signer(c, result, status == 0);
  return status;
}

}  // namespace

Piecewise::~Piecewise() = default;

std::unique_ptr<Piecewise> signing() { return std::make_unique<Maker>(kSigned, 0); }
std::unique_ptr<Piecewise> verifying() {
  return std::make_unique<Opener>(kSigned, 0, Opener::kAtTheEnd);
}
std::unique_ptr<Piecewise> detached_signing() { return std::make_unique<DetachedMaker>(); }
std::unique_ptr<Piecewise> detached_verifying(Bytes signature) {
  return std::make_unique<DetachedChecker>(std::move(signature));
}
std::unique_ptr<Piecewise> encrypting() {
  return std::make_unique<Maker>(kEnvelope, kEnvelopeMask);
}
std::unique_ptr<Piecewise> decrypting() {
  return std::make_unique<Opener>(kEnvelope, kEnvelopeMask, Opener::kAtOnce);
}
std::unique_ptr<Piecewise> splitting() {
  return std::make_unique<Opener>(kSigned, 0, Opener::kAtOnce, true);
}
bool detached_signature(const Bytes& b) { return is_detached(b); }

void verification_result(context_t c, verify_result_t* result, int32_t status) {
  fill_signer(c, result, status == 0);
}
void decryption_result(context_t c, decrypt_result_t* result) { fill_sender(c, result); }

// ---- Blocks and files ------------------------------------------------------------------------

bool In::read(Bytes* out) const {
  out->clear();
  if (file == nullptr) {
    if (block != nullptr && block->buf != nullptr && block->len > 0)
      out->assign(block->buf, block->buf + block->len);
    return !required;
  }
  std::FILE* f = std::fopen(file, "rb");
  if (f == nullptr) return false;
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    out->insert(out->end(), buffer, buffer + n);
  bool ok = std::ferror(f) == 0;
  std::fclose(f);
  return ok;
}

bool Out::write(context_t c, const Bytes& data) const {
  if (block != nullptr) {
    block->len = int32_t(data.size());
    block->buf = bytes(c, data);
    return true;
  }
  if (file == nullptr) return true;
  std::FILE* f = std::fopen(file, "wb");
  if (f == nullptr) return false;
  bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

// ---- One call ----------------------------------------------------------------------------------

namespace {

// Makes a message of everything `content` holds.
int32_t make(context_t c, const std::unique_ptr<Piecewise>& maker, In content, Out out) {
  if (!context_live(c)) return kBadContext;
  Bytes in, made;
  if (!content.read(&in)) return kNoFile;
  run(*maker, in, &made);
  return out.write(c, made) ? 0 : kNoFile;
}

}  // namespace

int32_t sign(context_t c, In content, Out signed_message) {
  return make(c, signing(), content, signed_message);
}

// A signed message; or, where one of the two inputs is a detached signature, that signature and
// the content in the other.
int32_t verify(context_t c, In signed_message, In second, Out content, verify_result_t* result) {
  if (!context_live(c)) return kBadContext;
  Bytes first, other;
  if (!signed_message.read(&first) || !second.read(&other)) return kNoFile;
  if (!starts_with(first, kSigned) && (is_detached(first) || is_detached(other))) {
    bool first_is_signature = is_detached(first);
    DetachedChecker check(first_is_signature ? first : other);
    const Bytes& data = first_is_signature ? other : first;
    Bytes none;
    return verified(c, check, run(check, data, &none), data, content, result);
  }
  Opener open(kSigned, 0, Opener::kAtTheEnd);
  Bytes out;
  int32_t status = run(open, first, &out);
  return verified(c, open, status, out, content, result);
}

int32_t sign_detached(context_t c, In content, Out signature) {
  return make(c, detached_signing(), content, signature);
}

int32_t encrypt(context_t c, In content, Out encrypted) {
  return make(c, encrypting(), content, encrypted);
}

int32_t decrypt(context_t c, In encrypted, Out content, decrypt_result_t* result) {
  if (!context_live(c)) return kBadContext;
  Bytes in, out;
  if (!encrypted.read(&in)) return kNoFile;
  int32_t status = run(*decrypting(), in, &out);
  if (status != 0) return status;
  if (!content.write(c, out)) return kNoFile;
  fill_sender(c, result);
  return 0;
}

// Joins a detached signature and its content, given in either order, into a signed message.
int32_t attach(context_t c, In first, In second, Out signed_message) {
  if (!context_live(c)) return kBadContext;
  Bytes a, b;
  if (!first.read(&a) || !second.read(&b)) return kNoFile;
  if (!is_detached(a) && !is_detached(b)) return kMismatch;
  const Bytes& signature = is_detached(a) ? a : b;
  const Bytes& data = is_detached(a) ? b : a;
  DetachedChecker check(signature);
  Bytes none;
  if (int32_t status = run(check, data, &none); status != 0) return status;
  Bytes out;
  run(*signing(), data, &out);
  return signed_message.write(c, out) ? 0 : kNoFile;
}

// Splits a signed message into its detached signature and its content, in that order or
// (`content_first`) the other.
int32_t detach(context_t c, In signed_message, Out first, Out second, bool content_first) {
  if (!context_live(c)) return kBadContext;
  Bytes in, content, signature;
  if (!signed_message.read(&in)) return kNoFile;
  if (int32_t status = run(*splitting(), in, &content, &signature); status != 0) return status;
  const Bytes& one = content_first ? content : signature;
  const Bytes& two = content_first ? signature : content;
  return first.write(c, one) && second.write(c, two) ? 0 : kNoFile;
}

int32_t sign_and_encrypt(context_t c, In content, Out out) {
  if (!context_live(c)) return kBadContext;
  Bytes in, signed_message, sealed;
  if (!content.read(&in)) return kNoFile;
  run(*signing(), in, &signed_message);
  run(*encrypting(), signed_message, &sealed);
  return out.write(c, sealed) ? 0 : kNoFile;
}

int32_t decrypt_and_verify(context_t c, In in, Out content, decrypt_result_t* sender,
                           verify_result_t* result) {
  if (!context_live(c)) return kBadContext;
  Bytes sealed, signed_message, data;
  if (!in.read(&sealed)) return kNoFile;
  if (int32_t status = run(*decrypting(), sealed, &signed_message); status != 0) return status;
  Opener open(kSigned, 0, Opener::kAtTheEnd);
  int32_t status = run(open, signed_message, &data);
  if (!open.well_formed()) return kMismatch;
  if (!content.write(c, data)) return kNoFile;
  fill_sender(c, sender);
  fill_signer(c, result, status == 0);
  return status;
}

}  // namespace standin::detail
