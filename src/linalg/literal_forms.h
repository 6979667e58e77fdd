// SPDX-License-Identifier: MIT
// The literal forms of the decompositions: every reflection and rotation is the full-size
// identity with its small block embedded, applied by full matrix products, with fresh temporaries
// at every step. They define every result bit for bit. The members of KoMatrixImplement run
// faster forms that give the same bits and fall back to these where a faster form could differ
// (non-finite values); the tests compare the two.
//
// Each function behaves exactly like the member of the same name (same checks, same result
// codes, same outputs).
#ifndef KOCALVIX_SRC_LINALG_LITERAL_FORMS_H
#define KOCALVIX_SRC_LINALG_LITERAL_FORMS_H

#include "matrix/KoMatrixImplement.h"

namespace kocalvix::literal {

KoMatrixError GramSchmidt(const KoMatrixImplement& A, KoMatrixImplement& Q, KoMatrixImplement& R);
KoMatrixError Householder(const KoMatrixImplement& A, KoMatrixImplement& Q, KoMatrixImplement& R);
KoMatrixError Givens(const KoMatrixImplement& A, KoMatrixImplement& Q, KoMatrixImplement& R);
KoMatrixError BiDiagonalize(const KoMatrixImplement& A, KoMatrixImplement& U, KoMatrixImplement& B,
                            KoMatrixImplement& V);
KoMatrixError EigenValues(const KoMatrixImplement& A, KoMatrixImplement& V);
KoMatrixError Eigen(const KoMatrixImplement& A, KoMatrixImplement& V, KoMatrixImplement& W);
KoMatrixError SVDDecomposition(const KoMatrixImplement& A, KoMatrixImplement& U,
                               KoMatrixImplement& S, KoMatrixImplement& V);
KoMatrixError SubSVDDecomposition(const KoMatrixImplement& A, KoMatrixImplement& U,
                                  KoMatrixImplement& S, KoMatrixImplement& V);
KoMatrixImplement Inv(const KoMatrixImplement& A);
double MatrixNorm(const KoMatrixImplement& A, const int& p);

}  // namespace kocalvix::literal

#endif  // KOCALVIX_SRC_LINALG_LITERAL_FORMS_H
