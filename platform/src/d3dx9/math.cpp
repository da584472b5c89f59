// D3DX matrices, vectors and planes. Row vectors: a point transforms as p' = p M, and a
// product A B applies A first. The camera matrices are D3DX's left-handed ones.
#include <d3dx9math.h>

#include <cmath>

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& other) const
{
    D3DXMATRIX r;
    D3DXMatrixMultiply(&r, this, &other);
    return r;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& other) const
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (m[i][j] != other.m[i][j])
                return false;
    return true;
}

WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1,
                                                    const D3DXMATRIX* pM2)
{
    D3DXMATRIX r;  // pOut may be one of the inputs
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = pM1->m[i][0] * pM2->m[0][j] + pM1->m[i][1] * pM2->m[1][j] +
                        pM1->m[i][2] * pM2->m[2][j] + pM1->m[i][3] * pM2->m[3][j];
    *pOut = r;
    return pOut;
}

WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM)
{
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = pM->m[j][i];
    *pOut = r;
    return pOut;
}

WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant,
                                                   const D3DXMATRIX* pM)
{
    // Gauss-Jordan elimination with partial pivoting, in double precision.
    double a[4][8];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            a[i][j] = pM->m[i][j];
            a[i][j + 4] = i == j ? 1.0 : 0.0;
        }
    double det = 1.0;
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        if (a[pivot][c] == 0.0) {
            if (pDeterminant)
                *pDeterminant = 0.0f;
            return nullptr;
        }
        if (pivot != c) {
            for (int j = 0; j < 8; ++j)
                std::swap(a[c][j], a[pivot][j]);
            det = -det;
        }
        det *= a[c][c];
        const double inv = 1.0 / a[c][c];
        for (int j = 0; j < 8; ++j)
            a[c][j] *= inv;
        for (int r = 0; r < 4; ++r)
            if (r != c) {
                const double f = a[r][c];
                for (int j = 0; j < 8; ++j)
                    a[r][j] -= f * a[c][j];
            }
    }
    if (pDeterminant)
        *pDeterminant = FLOAT(det);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            pOut->m[i][j] = FLOAT(a[i][j + 4]);
    return pOut;
}

WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z)
{
    D3DXMatrixIdentity(pOut);
    pOut->_41 = x, pOut->_42 = y, pOut->_43 = z;
    return pOut;
}

WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz)
{
    D3DXMatrixIdentity(pOut);
    pOut->_11 = sx, pOut->_22 = sy, pOut->_33 = sz;
    return pOut;
}

// Rotations are clockwise looking along the axis toward the origin, as in a left-handed
// system: RotationY turns +z toward +x.
WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle)
{
    const FLOAT c = std::cos(Angle), s = std::sin(Angle);
    D3DXMatrixIdentity(pOut);
    pOut->_22 = c, pOut->_23 = s, pOut->_32 = -s, pOut->_33 = c;
    return pOut;
}

WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle)
{
    const FLOAT c = std::cos(Angle), s = std::sin(Angle);
    D3DXMatrixIdentity(pOut);
    pOut->_11 = c, pOut->_13 = -s, pOut->_31 = s, pOut->_33 = c;
    return pOut;
}

WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT Angle)
{
    const FLOAT c = std::cos(Angle), s = std::sin(Angle);
    D3DXMatrixIdentity(pOut);
    pOut->_11 = c, pOut->_12 = s, pOut->_21 = -s, pOut->_22 = c;
    return pOut;
}

WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV,
                                                        FLOAT Angle)
{
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, pV);
    const FLOAT c = std::cos(Angle), s = std::sin(Angle), t = 1.0f - c;
    D3DXMatrixIdentity(pOut);
    pOut->_11 = t * n.x * n.x + c;
    pOut->_12 = t * n.x * n.y + s * n.z;
    pOut->_13 = t * n.x * n.z - s * n.y;
    pOut->_21 = t * n.x * n.y - s * n.z;
    pOut->_22 = t * n.y * n.y + c;
    pOut->_23 = t * n.y * n.z + s * n.x;
    pOut->_31 = t * n.x * n.z + s * n.y;
    pOut->_32 = t * n.y * n.z - s * n.x;
    pOut->_33 = t * n.z * n.z + c;
    return pOut;
}

WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye,
                                                    const D3DXVECTOR3* pAt, const D3DXVECTOR3* pUp)
{
    D3DXVECTOR3 z = *pAt - *pEye, x, y;
    D3DXVec3Normalize(&z, &z);
    D3DXVec3Cross(&x, pUp, &z);
    D3DXVec3Normalize(&x, &x);
    D3DXVec3Cross(&y, &z, &x);
    *pOut = D3DXMATRIX(x.x, y.x, z.x, 0.0f, x.y, y.y, z.y, 0.0f, x.z, y.z, z.z, 0.0f,
                       -D3DXVec3Dot(&x, pEye), -D3DXVec3Dot(&y, pEye), -D3DXVec3Dot(&z, pEye),
                       1.0f);
    return pOut;
}

WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy,
                                                            FLOAT Aspect, FLOAT zn, FLOAT zf)
{
    const FLOAT yScale = 1.0f / std::tan(fovy / 2.0f), xScale = yScale / Aspect;
    *pOut = D3DXMATRIX(xScale, 0.0f, 0.0f, 0.0f, 0.0f, yScale, 0.0f, 0.0f, 0.0f, 0.0f,
                       zf / (zf - zn), 1.0f, 0.0f, 0.0f, -zn * zf / (zf - zn), 0.0f);
    return pOut;
}

WINAPI_EXPORT D3DXMATRIX* WINAPI D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r,
                                                            FLOAT b, FLOAT t, FLOAT zn, FLOAT zf)
{
    *pOut = D3DXMATRIX(2.0f / (r - l), 0.0f, 0.0f, 0.0f, 0.0f, 2.0f / (t - b), 0.0f, 0.0f, 0.0f,
                       0.0f, 1.0f / (zf - zn), 0.0f, (l + r) / (l - r), (t + b) / (b - t),
                       zn / (zn - zf), 1.0f);
    return pOut;
}

WINAPI_EXPORT D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV)
{
    const FLOAT length = D3DXVec3Length(pV);
    // D3DX gives the zero vector for a zero input instead of dividing by zero.
    *pOut = length == 0.0f ? D3DXVECTOR3(0.0f, 0.0f, 0.0f) : *pV / length;
    return pOut;
}

WINAPI_EXPORT D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV,
                                                    const D3DXMATRIX* pM)
{
    const D3DXVECTOR4 r(pV->x * pM->_11 + pV->y * pM->_21 + pV->z * pM->_31 + pM->_41,
                        pV->x * pM->_12 + pV->y * pM->_22 + pV->z * pM->_32 + pM->_42,
                        pV->x * pM->_13 + pV->y * pM->_23 + pV->z * pM->_33 + pM->_43,
                        pV->x * pM->_14 + pV->y * pM->_24 + pV->z * pM->_34 + pM->_44);
    *pOut = r;
    return pOut;
}

WINAPI_EXPORT D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                                         const D3DXMATRIX* pM)
{
    D3DXVECTOR4 r;
    D3DXVec3Transform(&r, pV, pM);
    *pOut = r.w == 0.0f ? D3DXVECTOR3(r.x, r.y, r.z) : D3DXVECTOR3(r.x / r.w, r.y / r.w, r.z / r.w);
    return pOut;
}

WINAPI_EXPORT D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                                          const D3DXMATRIX* pM)
{
    const D3DXVECTOR3 r(pV->x * pM->_11 + pV->y * pM->_21 + pV->z * pM->_31,
                        pV->x * pM->_12 + pV->y * pM->_22 + pV->z * pM->_32,
                        pV->x * pM->_13 + pV->y * pM->_23 + pV->z * pM->_33);
    *pOut = r;
    return pOut;
}

WINAPI_EXPORT D3DXPLANE* WINAPI D3DXPlaneNormalize(D3DXPLANE* pOut, const D3DXPLANE* pP)
{
    const FLOAT length = std::sqrt(pP->a * pP->a + pP->b * pP->b + pP->c * pP->c);
    *pOut = length == 0.0f ? D3DXPLANE(0.0f, 0.0f, 0.0f, 0.0f)
                           : D3DXPLANE(pP->a / length, pP->b / length, pP->c / length,
                                       pP->d / length);
    return pOut;
}

WINAPI_EXPORT D3DXPLANE* WINAPI D3DXPlaneFromPointNormal(D3DXPLANE* pOut, const D3DXVECTOR3* pPoint,
                                                         const D3DXVECTOR3* pNormal)
{
    *pOut = D3DXPLANE(pNormal->x, pNormal->y, pNormal->z, -D3DXVec3Dot(pPoint, pNormal));
    return pOut;
}
