// SPDX-License-Identifier: MIT
// Symbol visibility for the KoCalvix library.
//
// KOCALVIX_API marks a class or function as part of the library's binary interface. Everything
// else is hidden: the library is built with hidden visibility by default, and only the classes
// carrying this macro are exported from the shared library (or the DLL on Windows).
//
// Consumers never define anything: the build system defines KOCALVIX_BUILDING while compiling
// the library itself, and KOCALVIX_STATIC for a static build (it is exported to consumers of a
// static package as well).
#ifndef KOCALVIX_EXPORT_H
#define KOCALVIX_EXPORT_H

#if defined(KOCALVIX_STATIC)
#define KOCALVIX_API
#elif defined(_WIN32) || defined(__CYGWIN__)
#if defined(KOCALVIX_BUILDING)
#define KOCALVIX_API __declspec(dllexport)
#else
#define KOCALVIX_API __declspec(dllimport)
#endif
#elif defined(__GNUC__) || defined(__clang__)
#define KOCALVIX_API __attribute__((visibility("default")))
#else
#define KOCALVIX_API
#endif

#endif  // KOCALVIX_EXPORT_H
