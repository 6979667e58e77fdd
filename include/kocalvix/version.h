// SPDX-License-Identifier: MIT
// The version of the KoCalvix headers as preprocessor macros, for compile-time checks such as
// #if KOCALVIX_VERSION_NUMBER >= 2020001. Calvix::Version (complex.h) reports the version of the
// library actually loaded at run time; the two agree unless headers and library come from
// different installations.
#ifndef KOCALVIX_VERSION_H
#define KOCALVIX_VERSION_H

/// Major version: changes break the binary interface.
#define KOCALVIX_VERSION_MAJOR 2
/// Minor version: additions that keep the binary interface.
#define KOCALVIX_VERSION_MINOR 2
/// Patch version: fixes.
#define KOCALVIX_VERSION_PATCH 0
/// Tweak version: the fourth part of the version record.
#define KOCALVIX_VERSION_TWEAK 1
/// The version as one comparable number: major * 1000000 + minor * 10000 + patch * 100 + tweak.
#define KOCALVIX_VERSION_NUMBER                                          \
    (KOCALVIX_VERSION_MAJOR * 1000000 + KOCALVIX_VERSION_MINOR * 10000 + \
     KOCALVIX_VERSION_PATCH * 100 + KOCALVIX_VERSION_TWEAK)
/// The version as a string, "major.minor.patch.tweak".
#define KOCALVIX_VERSION_STRING "2.2.0.1"

#endif  // KOCALVIX_VERSION_H
