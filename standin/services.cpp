// The stand-in's streams, TLS sessions and store enumerations: handles it issues and ends, and
// the plausible (not cryptographic) answers the demo shows.
#include <cstring>
#include <map>
#include <mutex>

#include "entry.h"

namespace standin {

namespace {

struct Open {
  uint64_t context;
  const char* family;
  detail::Hasher hasher;                       // a stream's data so far
  int32_t state = 0;                           // a decryption stream's state word
  std::shared_ptr<detail::Piecewise> message;  // a stream of the stand-in's messages
  detail::Bytes pending;  // what it yielded where the stage had no output block
  detail::Origin origin;
};

std::mutex handle_mutex;
std::map<uint64_t, Open>& handles() {
  static auto* h = new std::map<uint64_t, Open>();
  return *h;
}
uint64_t next_handle = 0x5717EA0000000001;
constexpr uint64_t kStorePosition = 0x5E0000;  // position handles: kStorePosition + next index

const char kStampMagic[4] = {'T', 'V', 'T', 'S'};
const char kHello[] = "stand-in TLS hello";

std::vector<uint8_t> contents(const mem_blk_t* b) {
  if (b == nullptr || b->buf == nullptr || b->len <= 0) return {};
  return std::vector<uint8_t>(b->buf, b->buf + b->len);
}

void give(context_t c, mem_blk_t* out, const std::vector<uint8_t>& data) {
  if (out == nullptr) return;
  out->len = int32_t(data.size());
  out->buf = bytes(c, data);
}

}  // namespace

size_t open_handles() {
  std::lock_guard<std::mutex> lock(handle_mutex);
  return handles().size();
}

bool handle_open(strhandle_t h) {
  std::lock_guard<std::mutex> lock(handle_mutex);
  return handles().count(uint64_t(h)) != 0;
}

void end_handle(strhandle_t h) {
  std::lock_guard<std::mutex> lock(handle_mutex);
  handles().erase(uint64_t(h));
}

void end_all_handles() {
  std::lock_guard<std::mutex> lock(handle_mutex);
  handles().clear();
}

std::vector<std::vector<uint8_t>> store_objects() {
  return {{0x30, 0x01, 0x01}, {0x30, 0x02, 0x02, 0x02}, {0x30, 0x03, 0x03, 0x03, 0x03}};
}

namespace detail {

namespace {

// The handle's stream, when it is of this family and context.
Open* find(context_t c, strhandle_t h, const char* family) {
  auto it = handles().find(uint64_t(h));
  if (it == handles().end() || it->second.context != uint64_t(c)) return nullptr;
  return std::strcmp(it->second.family, family) == 0 ? &it->second : nullptr;
}

// The same, for a stream of the stand-in's messages.
Open* find_message(context_t c, strhandle_t h, const char* family) {
  Open* s = find(c, h, family);
  return s != nullptr && s->message != nullptr ? s : nullptr;
}

strhandle_t open(context_t c, const char* family, std::shared_ptr<Piecewise> message = nullptr) {
  Origin origin = origin_here();
  std::lock_guard<std::mutex> lock(handle_mutex);
  uint64_t id = next_handle++;
  handles()[id] = Open{uint64_t(c), family, {}, 0, std::move(message), {}, std::move(origin)};
  return strhandle_t(id);
}

}  // namespace

std::vector<LeftOpen> handles_left_open() {
  std::vector<LeftOpen> open;
  uint64_t epoch = current_epoch();
  std::lock_guard<std::mutex> lock(handle_mutex);
  for (const auto& [id, s] : handles())
    if (s.origin.epoch == epoch) open.push_back(LeftOpen{s.family, id, s.origin});
  return open;
}

int32_t stream_init(context_t c, strhandle_t* h, const char* family) {
  if (!context_live(c)) return kBadContext;
  *h = open(c, family);
  return 0;
}

// Feeds the stream; `out`, where the stage has one, receives the input back. A failure ends it.
int32_t stream_update(context_t c, strhandle_t* h, const char* family, const mem_blk_t* in,
                      mem_blk_t* out, int32_t* state) {
  std::vector<uint8_t> data = contents(in);
  {
    std::lock_guard<std::mutex> lock(handle_mutex);
    Open* s = find(c, *h, family);
    if (s == nullptr) return kBadHandle;
    s->hasher.update(data.data(), data.size());
    if (state != nullptr) *state = ++s->state;
  }
  give(c, out, data);
  return 0;
}

// Ends the stream; `out`, where the stage has one, receives the digest of everything fed.
int32_t stream_final(context_t c, strhandle_t* h, const char* family, mem_blk_t* out) {
  Hasher hasher;
  {
    std::lock_guard<std::mutex> lock(handle_mutex);
    Open* s = find(c, *h, family);
    if (s == nullptr) return kBadHandle;
    hasher = s->hasher;
    handles().erase(uint64_t(*h));
  }
  give(c, out, hasher.finish());
  return 0;
}

int32_t message_init(context_t c, strhandle_t* h, const char* family,
                     std::unique_ptr<Piecewise> stream, const mem_blk_t* first) {
  if (!context_live(c)) return kBadContext;
  std::shared_ptr<Piecewise> message = std::move(stream);
  Bytes yielded;
  Bytes data = contents(first);
  if (int32_t status = message->feed(data.data(), data.size(), &yielded); status != 0)
    return status;
  *h = open(c, family, message);
  std::lock_guard<std::mutex> lock(handle_mutex);
  handles()[uint64_t(*h)].pending = std::move(yielded);
  return 0;
}

// The message's stream works outside the lock: a stream is fed by one caller at a time, and a
// reset or a Final of another stream must not wait for a large piece.
int32_t message_update(context_t c, strhandle_t* h, const char* family, const mem_blk_t* in,
                       mem_blk_t* out, int32_t* state) {
  std::shared_ptr<Piecewise> message;
  Bytes yielded;
  {
    std::lock_guard<std::mutex> lock(handle_mutex);
    Open* s = find_message(c, *h, family);
    if (s == nullptr) return kBadHandle;
    message = s->message;
    if (state != nullptr) *state = ++s->state;
    if (out != nullptr) yielded.swap(s->pending);
  }
  Bytes data = contents(in);
  int32_t status = message->feed(data.data(), data.size(), &yielded);
  {
    std::lock_guard<std::mutex> lock(handle_mutex);
    Open* s = find(c, *h, family);
    if (status != 0 || s == nullptr) {
      handles().erase(uint64_t(*h));
      return status != 0 ? status : kBadHandle;
    }
    if (out == nullptr) s->pending.insert(s->pending.end(), yielded.begin(), yielded.end());
  }
  give(c, out, yielded);
  return 0;
}

int32_t message_final(context_t c, strhandle_t* h, const char* family, mem_blk_t* out,
                      mem_blk_t* second, const std::function<void(int32_t, bool)>& after) {
  std::shared_ptr<Piecewise> message;
  Bytes yielded;
  {
    std::lock_guard<std::mutex> lock(handle_mutex);
    Open* s = find_message(c, *h, family);
    if (s == nullptr) return kBadHandle;
    message = s->message;
    yielded.swap(s->pending);
    handles().erase(uint64_t(*h));
  }
  Bytes last;
  int32_t status = message->finish(&yielded, &last);
  if (status == 0 || message->well_formed()) {
    give(c, out, yielded);
    give(c, second, last);
  }
  if (after) after(status, message->well_formed());
  return status;
}

int32_t session_destroy(context_t c, strhandle_t* h) {
  std::lock_guard<std::mutex> lock(handle_mutex);
  if (find(c, *h, "TlsSession") == nullptr) return kBadHandle;
  handles().erase(uint64_t(*h));
  *h = strhandle_t{};
  return 0;
}

// A session's exchange: the handshake answers a fixed hello; Write and Read turn bytes into
// their XOR with 0x5A and back, so that a round trip shows; Query(0) names the session.
int32_t session_call(context_t c, strhandle_t h, int32_t selector, const mem_blk_t* in,
                     mem_blk_t* out) {
  {
    std::lock_guard<std::mutex> lock(handle_mutex);
    if (find(c, h, "TlsSession") == nullptr) return kBadHandle;
  }
  std::vector<uint8_t> data;
  switch (selector) {
    case 'H':
      data.assign(kHello, kHello + sizeof kHello - 1);
      break;
    case 'W':
    case 'R':
      data = contents(in);
      for (auto& b : data) b ^= 0x5A;
      break;
    case 0:
      data = {'s', 't', 'a', 'n', 'd', '-', 'i', 'n', ' ', 'T', 'L', 'S'};
      break;
    case 'C':
      return 0;
    default:
      return kMismatch;
  }
  give(c, out, data);
  return 0;
}

int32_t enumerate(context_t c, strhandle_t* h, mem_blk_t* out,
                  const std::vector<std::vector<uint8_t>>* objects) {
  if (!context_live(c)) return kBadContext;
  uint64_t index = *h == strhandle_t{} ? 0 : uint64_t(*h) - kStorePosition;
  std::vector<std::vector<uint8_t>> own;
  if (objects == nullptr) {
    own = store_objects();
    objects = &own;
  }
  if (index >= objects->size()) return kEndOfStore;
  give(c, out, (*objects)[index]);
  *h = strhandle_t(kStorePosition + index + 1);
  return 0;
}

// A "stamped" message: "TVTS", the authority's URL, a NUL, the message.
int32_t stamp(context_t c, const char* url, const mem_blk_t* in, mem_blk_t* out) {
  if (!context_live(c)) return kBadContext;
  if (url == nullptr) return kNoAddress;
  std::vector<uint8_t> data = contents(in);
  size_t url_size = std::strlen(url) + 1;
  std::vector<uint8_t> stamped(4 + url_size + data.size());
  std::memcpy(stamped.data(), kStampMagic, 4);
  std::memcpy(stamped.data() + 4, url, url_size);
  if (!data.empty()) std::memcpy(stamped.data() + 4 + url_size, data.data(), data.size());
  give(c, out, stamped);
  return 0;
}

int32_t verify_stamp(context_t c, const mem_blk_t* in, tsp_verify_result_t* result) {
  if (!context_live(c)) return kBadContext;
  std::vector<uint8_t> data = contents(in);
  if (data.size() < 4 || std::memcmp(data.data(), kStampMagic, 4) != 0) return kMismatch;
  fill_tsp_verify_result(c, result);
  return 0;
}

}  // namespace detail
}  // namespace standin
