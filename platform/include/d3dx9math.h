// d3dx9math.h: the D3DX vectors, matrices and planes the engine uses. As in D3DX, vectors
// are rows and multiply matrices from the left (v' = v M), matrices are stored row by row,
// and the camera helpers build left-handed matrices.
#ifndef VEXA_PLATFORM_D3DX9MATH_H
#define VEXA_PLATFORM_D3DX9MATH_H

#include <d3d9.h>

#include <math.h>

#define D3DX_PI ((FLOAT)3.141592654f)
#define D3DXToRadian(degree) ((degree) * (D3DX_PI / 180.0f))
#define D3DXToDegree(radian) ((radian) * (180.0f / D3DX_PI))

struct D3DXVECTOR3 : public D3DVECTOR {
    D3DXVECTOR3() = default;
    D3DXVECTOR3(const D3DVECTOR& v) : D3DVECTOR(v) {}
    D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz) : D3DVECTOR{fx, fy, fz} {}

    D3DXVECTOR3& operator+=(const D3DXVECTOR3& v)
    {
        x += v.x, y += v.y, z += v.z;
        return *this;
    }
    D3DXVECTOR3& operator-=(const D3DXVECTOR3& v)
    {
        x -= v.x, y -= v.y, z -= v.z;
        return *this;
    }
    D3DXVECTOR3& operator*=(FLOAT f)
    {
        x *= f, y *= f, z *= f;
        return *this;
    }
    D3DXVECTOR3 operator-() const { return D3DXVECTOR3(-x, -y, -z); }
    D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const { return D3DXVECTOR3(x + v.x, y + v.y, z + v.z); }
    D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const { return D3DXVECTOR3(x - v.x, y - v.y, z - v.z); }
    D3DXVECTOR3 operator*(FLOAT f) const { return D3DXVECTOR3(x * f, y * f, z * f); }
    D3DXVECTOR3 operator/(FLOAT f) const { return D3DXVECTOR3(x / f, y / f, z / f); }
    bool operator==(const D3DXVECTOR3& v) const { return x == v.x && y == v.y && z == v.z; }
    bool operator!=(const D3DXVECTOR3& v) const { return !(*this == v); }
};
inline D3DXVECTOR3 operator*(FLOAT f, const D3DXVECTOR3& v) { return v * f; }
typedef D3DXVECTOR3* LPD3DXVECTOR3;

struct D3DXVECTOR4 {
    D3DXVECTOR4() = default;
    D3DXVECTOR4(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}
    FLOAT x, y, z, w;
};
typedef D3DXVECTOR4* LPD3DXVECTOR4;

struct D3DXMATRIX : public D3DMATRIX {
    D3DXMATRIX() = default;
    D3DXMATRIX(const D3DMATRIX& mat) : D3DMATRIX(mat) {}
    explicit D3DXMATRIX(const FLOAT* values)
    {
        for (int i = 0; i < 16; ++i)
            m[i / 4][i % 4] = values[i];
    }
    D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14, FLOAT f21, FLOAT f22, FLOAT f23,
               FLOAT f24, FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34, FLOAT f41, FLOAT f42,
               FLOAT f43, FLOAT f44)
    {
        const FLOAT v[16] = {f11, f12, f13, f14, f21, f22, f23, f24,
                             f31, f32, f33, f34, f41, f42, f43, f44};
        for (int i = 0; i < 16; ++i)
            m[i / 4][i % 4] = v[i];
    }

    FLOAT& operator()(UINT row, UINT col) { return m[row][col]; }
    FLOAT operator()(UINT row, UINT col) const { return m[row][col]; }
    operator FLOAT*() { return &m[0][0]; }
    operator const FLOAT*() const { return &m[0][0]; }

    D3DXMATRIX operator*(const D3DXMATRIX& other) const;
    D3DXMATRIX& operator*=(const D3DXMATRIX& other) { return *this = *this * other; }
    bool operator==(const D3DXMATRIX& other) const;
    bool operator!=(const D3DXMATRIX& other) const { return !(*this == other); }
};
typedef D3DXMATRIX* LPD3DXMATRIX;

struct D3DXPLANE {
    D3DXPLANE() = default;
    D3DXPLANE(FLOAT fa, FLOAT fb, FLOAT fc, FLOAT fd) : a(fa), b(fb), c(fc), d(fd) {}
    FLOAT a, b, c, d;
};
typedef D3DXPLANE* LPD3DXPLANE;

// ---- inline helpers, as D3DX keeps them in its header ----------------------------------
inline D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            pOut->m[r][c] = r == c ? 1.0f : 0.0f;
    return pOut;
}
inline BOOL D3DXMatrixIsIdentity(const D3DXMATRIX* pM)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (pM->m[r][c] != (r == c ? 1.0f : 0.0f))
                return FALSE;
    return TRUE;
}
inline FLOAT D3DXVec3Length(const D3DXVECTOR3* pV)
{
    return sqrtf(pV->x * pV->x + pV->y * pV->y + pV->z * pV->z);
}
inline FLOAT D3DXVec3LengthSq(const D3DXVECTOR3* pV)
{
    return pV->x * pV->x + pV->y * pV->y + pV->z * pV->z;
}
inline FLOAT D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2)
{
    return pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z;
}
inline D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1,
                                  const D3DXVECTOR3* pV2)
{
    const D3DXVECTOR3 v(pV1->y * pV2->z - pV1->z * pV2->y, pV1->z * pV2->x - pV1->x * pV2->z,
                        pV1->x * pV2->y - pV1->y * pV2->x);
    *pOut = v;
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1,
                                const D3DXVECTOR3* pV2)
{
    *pOut = *pV1 + *pV2;
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1,
                                     const D3DXVECTOR3* pV2)
{
    *pOut = *pV1 - *pV2;
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, FLOAT s)
{
    *pOut = *pV * s;
    return pOut;
}
inline FLOAT D3DXPlaneDotCoord(const D3DXPLANE* pP, const D3DXVECTOR3* pV)
{
    return pP->a * pV->x + pP->b * pV->y + pP->c * pV->z + pP->d;
}
inline FLOAT D3DXPlaneDotNormal(const D3DXPLANE* pP, const D3DXVECTOR3* pV)
{
    return pP->a * pV->x + pP->b * pV->y + pP->c * pV->z;
}

// ---- library functions ---------------------------------------------------------------
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1,
                                                    const D3DXMATRIX* pM2);
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM);
// Null when the matrix has no inverse; *pDeterminant gets the determinant either way.
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant,
                                                   const D3DXMATRIX* pM);
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y,
                                                       FLOAT z);
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy,
                                                   FLOAT sz);
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle);
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle);
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT Angle);
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixRotationAxis(D3DXMATRIX* pOut,
                                                        const D3DXVECTOR3* pV, FLOAT Angle);
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye,
                                                    const D3DXVECTOR3* pAt,
                                                    const D3DXVECTOR3* pUp);
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy,
                                                            FLOAT Aspect, FLOAT zn, FLOAT zf);
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l,
                                                            FLOAT r, FLOAT b, FLOAT t,
                                                            FLOAT zn, FLOAT zf);

WINAPI_EXPORT D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV);
// (x, y, z, 1) M, divided by its w.
WINAPI_EXPORT D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut,
                                                         const D3DXVECTOR3* pV,
                                                         const D3DXMATRIX* pM);
// (x, y, z, 0) M: directions, without the translation.
WINAPI_EXPORT D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut,
                                                          const D3DXVECTOR3* pV,
                                                          const D3DXMATRIX* pM);
WINAPI_EXPORT D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV,
                                                    const D3DXMATRIX* pM);

WINAPI_EXPORT D3DXPLANE* WINAPI D3DXPlaneNormalize(D3DXPLANE* pOut, const D3DXPLANE* pP);
WINAPI_EXPORT D3DXPLANE* WINAPI D3DXPlaneFromPointNormal(D3DXPLANE* pOut,
                                                         const D3DXVECTOR3* pPoint,
                                                         const D3DXVECTOR3* pNormal);

#endif
