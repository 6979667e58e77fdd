// SPDX-License-Identifier: MIT
// Small helpers shared by the examples: naming a result code and tidying values for display.
#ifndef KOCALVIX_EXAMPLES_EXAMPLE_SUPPORT_H
#define KOCALVIX_EXAMPLES_EXAMPLE_SUPPORT_H

#include <kocalvix/matrix.h>

#include <cmath>
#include <cstdio>

namespace example {

// The name of a result code, for messages.
inline const char* Name(KoMatrixError code) {
    switch (code) {
        case NoError:
            return "NoError";
        case SingularMatrix:
            return "SingularMatrix";
        case NotSymmetric:
            return "NotSymmetric";
        case NotSquare:
            return "NotSquare";
        case ExternalBuffer:
            return "ExternalBuffer";
        case DimensionMismatch:
            return "DimensionMismatch";
        case InvalidMethod:
            return "InvalidMethod";
    }
    return "unknown code";
}

// True when `code` is NoError; otherwise reports which step failed on stderr.
inline bool Succeeded(KoMatrixError code, const char* step) {
    if (code != NoError) {
        std::fprintf(stderr, "%s failed: %s\n", step, Name(code));
    }
    return code == NoError;
}

// A copy of m for display: every element rounded to 10 decimal places, so rounding noise such
// as 1e-17 or -0.0 prints as a plain 0.
inline KoMatrix Tidy(KoMatrix m) {
    for (double& x : m) {
        x = std::round(x * 1e10) / 1e10 + 0.0;  // + 0.0 turns -0.0 into +0.0
    }
    return m;
}

}  // namespace example

#endif  // KOCALVIX_EXAMPLES_EXAMPLE_SUPPORT_H
