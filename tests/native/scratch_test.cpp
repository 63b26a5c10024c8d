// The call memory kept between calls: warm for the next call, within the process's budget,
// and given back when its thread ends.
#include "core/scratch.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr size_t kMiB = size_t(1) << 20;

// One call on its own thread taking `sizes`; what it keeps is read before the thread ends.
size_t kept_by_a_call(std::initializer_list<size_t> sizes, size_t* after_exit) {
  size_t kept = 0;
  std::thread([&] {
    {
      tvj::CallMemory call;
      for (size_t size : sizes) ASSERT_NE(tvj::scratch_alloc(size), nullptr);
    }
    kept = tvj::scratch_retained();
  }).join();
  *after_exit = tvj::scratch_retained();
  return kept;
}

TEST(Scratch, ALargeBlockStaysWarmForTheNextCallOfTheThread) {
  size_t before = tvj::scratch_retained();
  void* first = nullptr;
  void* second = nullptr;
  std::thread([&] {
    {
      tvj::CallMemory call;
      tvj::scratch_alloc(100);  // the first chunk too is in use
      first = tvj::scratch_alloc(64 * kMiB);
    }
    tvj::CallMemory call;
    tvj::scratch_alloc(100);
    second = tvj::scratch_alloc(64 * kMiB);
  }).join();
  EXPECT_EQ(first, second);
  EXPECT_EQ(tvj::scratch_retained(), before) << "the thread's chunks went back when it ended";
}

TEST(Scratch, WhatThreadsKeepStaysWithinTheBudget) {
  size_t budget = tvj::scratch_budget();
  size_t after_exit = 0;
  size_t others = tvj::scratch_retained();
  tvj::set_scratch_budget(others + 10 * kMiB);
  EXPECT_EQ(kept_by_a_call({1000, 8 * kMiB}, &after_exit), others + 8 * kMiB);
  EXPECT_EQ(kept_by_a_call({12 * kMiB}, &after_exit), others);
  // Chunks are kept smallest first: of 3 MiB and 8 MiB only the 3 MiB fits.
  EXPECT_EQ(kept_by_a_call({3 * kMiB, 8 * kMiB}, &after_exit), others + 3 * kMiB);
  EXPECT_EQ(after_exit, others);
  // What the last call used comes first: after a 3 MiB call and an 8 MiB call, the 8 MiB stays.
  std::thread([&] {
    for (size_t size : {3 * kMiB, 8 * kMiB}) {
      tvj::CallMemory call;
      tvj::scratch_alloc(size);
    }
    EXPECT_EQ(tvj::scratch_retained(), others + 8 * kMiB);
  }).join();
  tvj::set_scratch_budget(budget);
}

TEST(Scratch, SizesParseInBytesKibMibOrGib) {
  size_t bytes = 7;
  EXPECT_TRUE(tvj::parse_scratch_size("0", &bytes));
  EXPECT_EQ(bytes, 0u);
  EXPECT_TRUE(tvj::parse_scratch_size("256m", &bytes));
  EXPECT_EQ(bytes, 256 * kMiB);
  EXPECT_TRUE(tvj::parse_scratch_size("2G", &bytes));
  EXPECT_EQ(bytes, 2048 * kMiB);
  EXPECT_TRUE(tvj::parse_scratch_size("65536", &bytes));
  EXPECT_EQ(bytes, 65536u);
  for (const char* bad : {"", "m", "-1", "12q", "1mb", "99999999999999999999"})
    EXPECT_FALSE(tvj::parse_scratch_size(bad, &bytes)) << bad;
  EXPECT_FALSE(tvj::parse_scratch_size(nullptr, &bytes));
  EXPECT_EQ(bytes, 65536u);
}

}  // namespace
