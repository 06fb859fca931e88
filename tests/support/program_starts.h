#pragma once
// ThreadSanitizer's runtime (clang 14) aborts when a threaded test starts another program: its handling of
// fork and of Qt's clone fails an internal check. Under it no program is started, and the tests that need
// one skip; they run in the plain and AddressSanitizer builds.

#if defined(__SANITIZE_THREAD__)
#define NORVANE_TESTS_START_PROGRAMS 0
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define NORVANE_TESTS_START_PROGRAMS 0
#endif
#endif
#ifndef NORVANE_TESTS_START_PROGRAMS
#define NORVANE_TESTS_START_PROGRAMS 1
#endif

namespace norvane::testing {

inline constexpr bool kTestsStartPrograms = NORVANE_TESTS_START_PROGRAMS != 0;
inline constexpr const char* kNoProgramsUnderThreadSanitizer = "no program is started under ThreadSanitizer";

}  // namespace norvane::testing
