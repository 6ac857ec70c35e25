#pragma once
// Everything of the vector library in one include: the records and constants, the
// scalar and rounding helpers, single-vector routines, array kernels, matrices,
// quaternions, planes and the geometry tests.

#include "scene/base/VectorTypes.h"
#include "scene/base/Rounding.h"
#include "scene/base/ScalarMath.h"
#include "scene/base/VectorArithmetic.h"
#include "scene/base/VectorProducts.h"
#include "scene/base/VectorArrays.h"
#include "scene/base/MatrixMath.h"
#include "scene/base/Quaternions.h"
#include "scene/base/Planes.h"
#include "scene/base/GeometryTests.h"
