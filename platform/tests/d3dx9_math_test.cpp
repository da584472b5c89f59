// D3DX matrices against values worked out by hand, in D3DX's row-vector convention.
#include <d3dx9math.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectMatrix(const D3DXMATRIX& expected, const D3DXMATRIX& actual)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(expected.m[r][c], actual.m[r][c], 1e-5f) << "element _" << r + 1 << c + 1;
}

D3DXVECTOR3 Transform(const D3DXVECTOR3& v, const D3DXMATRIX& m)
{
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &v, &m);
    return out;
}

void ExpectVector(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual)
{
    EXPECT_NEAR(expected.x, actual.x, 1e-5f);
    EXPECT_NEAR(expected.y, actual.y, 1e-5f);
    EXPECT_NEAR(expected.z, actual.z, 1e-5f);
}

TEST(D3DXMathTest, TranslationAndScalingSitInTheLastRowAndTheDiagonal)
{
    D3DXMATRIX t, s;
    D3DXMatrixTranslation(&t, 1, 2, 3);
    ExpectMatrix(D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1), t);
    D3DXMatrixScaling(&s, 2, 3, 4);
    ExpectMatrix(D3DXMATRIX(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1), s);
    // Scale first, then translate: (1, 1, 1) -> (2, 3, 4) -> (3, 5, 7).
    ExpectVector(D3DXVECTOR3(3, 5, 7), Transform(D3DXVECTOR3(1, 1, 1), s * t));
    ExpectVector(D3DXVECTOR3(4, 9, 16), Transform(D3DXVECTOR3(1, 1, 1), t * s));
}

TEST(D3DXMathTest, RotationsTurnClockwiseLookingDownTheAxis)
{
    const float quarter = D3DX_PI / 2;
    D3DXMATRIX r;
    D3DXMatrixRotationY(&r, quarter);
    ExpectVector(D3DXVECTOR3(1, 0, 0), Transform(D3DXVECTOR3(0, 0, 1), r));
    ExpectVector(D3DXVECTOR3(0, 0, -1), Transform(D3DXVECTOR3(1, 0, 0), r));
    D3DXMatrixRotationX(&r, quarter);
    ExpectVector(D3DXVECTOR3(0, 0, 1), Transform(D3DXVECTOR3(0, 1, 0), r));
    D3DXMatrixRotationZ(&r, quarter);
    ExpectVector(D3DXVECTOR3(0, 1, 0), Transform(D3DXVECTOR3(1, 0, 0), r));
    D3DXMATRIX axis;
    const D3DXVECTOR3 y(0, 2, 0);
    D3DXMatrixRotationAxis(&axis, &y, 0.7f);
    D3DXMatrixRotationY(&r, 0.7f);
    ExpectMatrix(r, axis);
}

TEST(D3DXMathTest, LookAtLHMovesTheEyeToTheOriginLookingDownZ)
{
    D3DXMATRIX view;
    const D3DXVECTOR3 eye(0, 0, -9), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    ExpectMatrix(D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 9, 1), view);

    // From the side: eye at (5, 0, 0) looking at the origin. Ahead is world -x; in a
    // left-handed frame right = up x ahead, which is world +z.
    const D3DXVECTOR3 side(5, 0, 0);
    D3DXMatrixLookAtLH(&view, &side, &at, &up);
    ExpectVector(D3DXVECTOR3(0, 0, 5), Transform(D3DXVECTOR3(0, 0, 0), view));
    ExpectVector(D3DXVECTOR3(1, 0, 5), Transform(D3DXVECTOR3(0, 0, 1), view));
}

TEST(D3DXMathTest, PerspectiveFovLHMapsNearAndFarToZeroAndOne)
{
    D3DXMATRIX p;
    const float fov = D3DX_PI / 3, aspect = 4.0f / 3.0f, zn = 0.5f, zf = 20.0f;
    D3DXMatrixPerspectiveFovLH(&p, fov, aspect, zn, zf);
    const float yScale = 1.0f / std::tan(fov / 2);
    ExpectMatrix(D3DXMATRIX(yScale / aspect, 0, 0, 0, 0, yScale, 0, 0, 0, 0, zf / (zf - zn), 1, 0,
                            0, -zn * zf / (zf - zn), 0),
                 p);
    EXPECT_NEAR(Transform(D3DXVECTOR3(0, 0, zn), p).z, 0.0f, 1e-6f);
    EXPECT_NEAR(Transform(D3DXVECTOR3(0, 0, zf), p).z, 1.0f, 1e-6f);
    // A point on the top edge of the field of view lands at y = 1.
    const float z = 4.0f;
    EXPECT_NEAR(Transform(D3DXVECTOR3(0, z * std::tan(fov / 2), z), p).y, 1.0f, 1e-5f);
}

TEST(D3DXMathTest, MultiplyAndInverseUndoEachOther)
{
    D3DXMATRIX a, b, product, inverse, identity;
    D3DXMatrixRotationY(&a, 0.3f);
    D3DXMatrixTranslation(&b, 1, -2, 3);
    D3DXMatrixMultiply(&product, &a, &b);
    float determinant = 0;
    ASSERT_NE(D3DXMatrixInverse(&inverse, &determinant, &product), nullptr);
    EXPECT_NEAR(determinant, 1.0f, 1e-5f);
    D3DXMatrixIdentity(&identity);
    ExpectMatrix(identity, product * inverse);
    // Multiply may write over one of its inputs.
    D3DXMatrixMultiply(&a, &a, &b);
    ExpectMatrix(product, a);
    D3DXMATRIX singular;
    D3DXMatrixScaling(&singular, 1, 0, 1);
    EXPECT_EQ(D3DXMatrixInverse(&inverse, &determinant, &singular), nullptr);
    EXPECT_EQ(determinant, 0.0f);
}

TEST(D3DXMathTest, VectorsAndPlanes)
{
    D3DXVECTOR3 v(3, 0, 4), n;
    D3DXVec3Normalize(&n, &v);
    ExpectVector(D3DXVECTOR3(0.6f, 0, 0.8f), n);
    const D3DXVECTOR3 zero(0, 0, 0);
    D3DXVec3Normalize(&n, &zero);
    ExpectVector(zero, n);
    const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0);
    D3DXVECTOR3 c;
    D3DXVec3Cross(&c, &x, &y);
    ExpectVector(D3DXVECTOR3(0, 0, 1), c);
    EXPECT_FLOAT_EQ(D3DXVec3Dot(&v, &v), 25.0f);

    D3DXPLANE p(0, 3, 4, 10), normal;
    D3DXPlaneNormalize(&normal, &p);
    EXPECT_FLOAT_EQ(normal.b, 0.6f);
    EXPECT_FLOAT_EQ(normal.c, 0.8f);
    EXPECT_FLOAT_EQ(normal.d, 2.0f);
    const D3DXVECTOR3 point(0, 0, -2.5f);
    EXPECT_NEAR(D3DXPlaneDotCoord(&normal, &point), 0.0f, 1e-6f);
}

}  // namespace
