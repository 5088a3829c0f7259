// What a fuzz harness is made of. A harness is one function given arbitrary bytes; it must
// return for every input and checks with JOV_FUZZ_CHECK what must hold beyond "no crash".
// Built for libFuzzer (the fuzz preset), JOV_FUZZ_TARGET defines the fuzzer's entry point and a
// failed check aborts with its place, so that libFuzzer keeps the input; built into the normal
// test suite, it registers the harness under its name, and fuzz_replay_tests runs it on every
// input kept for it, reporting a failed check as a test failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace jov::fuzz {

using Harness = void (*)(const uint8_t* data, size_t size);

// Records a harness for the replay test; returns true so that it can initialise a static.
bool RegisterHarness(std::string_view name, Harness harness);
// Reports a check that did not hold.
void CheckFailed(const char* file, int line, const char* condition);

// The input as the engine's texts are held (Windows-1252 bytes).
inline std::string_view AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace jov::fuzz

#define JOV_FUZZ_CHECK(condition)                                               \
  do {                                                                          \
    if (!(condition)) ::jov::fuzz::CheckFailed(__FILE__, __LINE__, #condition); \
  } while (false)

#ifdef JOV_LIBFUZZER
#define JOV_FUZZ_TARGET(name)                                               \
  static void JovFuzzHarness_##name(const uint8_t* data, size_t size);      \
  extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { \
    JovFuzzHarness_##name(data, size);                                      \
    return 0;                                                               \
  }                                                                         \
  static void JovFuzzHarness_##name(const uint8_t* data, size_t size)
#else
#define JOV_FUZZ_TARGET(name)                                          \
  static void JovFuzzHarness_##name(const uint8_t* data, size_t size); \
  [[maybe_unused]] static const bool kJovFuzzRegistered_##name =       \
      ::jov::fuzz::RegisterHarness(#name, JovFuzzHarness_##name);      \
  static void JovFuzzHarness_##name(const uint8_t* data, size_t size)
#endif
