#pragma once

// What the standard library of one toolchain lacks, in one place: Emscripten 3.1's libc++ 14
// has no std::bit_cast, no std::make_unique_for_overwrite and no floating-point
// std::to_chars/std::from_chars. Where the library has them they are used; where it has not,
// or TAVIMOR_STD_BRIDGE is defined (the native tests force it), the replacements below
// stand in. The C library's snprintf and strtod are correctly rounded in glibc and musl alike,
// so the replacements give the same digits and the same bits.

#include <charconv>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <version>

#if defined(TAVIMOR_STD_BRIDGE) || !defined(__cpp_lib_bit_cast)
#define TAVIMOR_BRIDGE_BIT_CAST 1
#else
#include <bit>
#endif
#if defined(TAVIMOR_STD_BRIDGE) || !defined(__cpp_lib_smart_ptr_for_overwrite)
#define TAVIMOR_BRIDGE_FOR_OVERWRITE 1
#endif
#if defined(TAVIMOR_STD_BRIDGE) || !defined(__cpp_lib_to_chars)
#define TAVIMOR_BRIDGE_CHARS 1
#endif

namespace tavimor {

template <class To, class From>
To BitCast(const From& from) noexcept {
  static_assert(sizeof(To) == sizeof(From));
#ifdef TAVIMOR_BRIDGE_BIT_CAST
  return __builtin_bit_cast(To, from);
#else
  return std::bit_cast<To>(from);
#endif
}

// An array of n default-initialised elements: std::make_unique_for_overwrite<T[]>(n).
template <class T>
std::unique_ptr<T[]> MakeUniqueArrayForOverwrite(std::size_t n) {
#ifdef TAVIMOR_BRIDGE_FOR_OVERWRITE
  return std::unique_ptr<T[]>(new T[n]);
#else
  return std::make_unique_for_overwrite<T[]>(n);
#endif
}

// The replacements themselves, whichever are in force, so that tests can compare them with
// the standard library's functions where it has them. std::to_chars(first, last, value,
// format, precision) for fixed, scientific and general; std::from_chars(first, last, value)
// in the general format: result_out_of_range (value untouched) for a number beyond the
// double range or a non-zero one that rounds to zero.
std::to_chars_result BridgedDoubleToChars(char* first, char* last, double value,
                                          std::chars_format format, int precision);
std::from_chars_result BridgedDoubleFromChars(const char* first, const char* last, double& value);

inline std::to_chars_result DoubleToChars(char* first, char* last, double value,
                                          std::chars_format format, int precision) {
#ifdef TAVIMOR_BRIDGE_CHARS
  return BridgedDoubleToChars(first, last, value, format, precision);
#else
  return std::to_chars(first, last, value, format, precision);
#endif
}

inline std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value) {
#ifdef TAVIMOR_BRIDGE_CHARS
  return BridgedDoubleFromChars(first, last, value);
#else
  return std::from_chars(first, last, value, std::chars_format::general);
#endif
}

}  // namespace tavimor
