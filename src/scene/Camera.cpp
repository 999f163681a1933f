#include "scene/Camera.h"

#include <algorithm>
#include <cmath>

#include "support/Units.h"

namespace tavrok::scene {

namespace {

using Vector = std::array<double, 3>;

Vector normalised(Vector v) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return length > 0 ? Vector{v[0] / length, v[1] / length, v[2] / length} : v;
}

Vector cross(Vector a, Vector b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double radians(double degrees) {
    return degrees / support::degreesPerRadian;
}

// The stereo base: 1.8 R seen from outside, R / 8 from the near edge.
double stereoBase(const CameraInput& input, double halfWidth) {
    return input.parameters->terrainPosition == TerrainPosition::Foreground ? 1.8 * halfWidth
                                                                            : halfWidth / 8;
}

Matrix4 perspective(const CameraInput& input, double near, double far, double eyeOffset,
                    double base) {
    const double top = near * std::tan(radians(input.geometry->fieldAngle));
    const double shift = base > 0 ? -0.5 * eyeOffset * near / base : 0.0;
    return Matrix4::frustum(-input.aspect * top + shift, input.aspect * top + shift, -top, top,
                            near, far);
}

CameraSetup foregroundCamera(const CameraInput& input, double halfWidth, double eyeOffset,
                             double base) {
    const SceneParameters& parameters = *input.parameters;
    const double scale = input.geometry->sceneScale;
    CameraSetup camera;
    camera.eyeOffset = eyeOffset;
    const double distance = (parameters.zoom / 20.0 + 1) * 2 * halfWidth;
    camera.near = std::max(distance - 3 * halfWidth, 1.0);
    camera.far = distance + 3 * halfWidth;
    const double x = parameters.shiftX * scale * 10 + eyeOffset;
    const double y = 2.0 * parameters.shiftY * scale;
    camera.projection = perspective(input, camera.near, camera.far, eyeOffset, base) *
                        Matrix4::lookAt({x, y, distance}, {x, y, 0}, {0, 1, 0}) *
                        Matrix4::rotation(parameters.tilt, {1, 0, 0}) *
                        Matrix4::rotation(2.0 * parameters.turn, {0, 1, 0});
    camera.modelView = Matrix4::identity();
    return camera;
}

CameraSetup backgroundCamera(const CameraInput& input, double halfWidth, double eyeOffset,
                             double base) {
    const MeshGeometry& geometry = *input.geometry;
    CameraSetup camera;
    camera.eyeOffset = eyeOffset;
    camera.near = std::max(halfWidth - 3 * halfWidth, 1.0);
    camera.far = 4 * halfWidth;
    const double height = geometry.eyeHeight;
    const double ahead = height / std::tan(radians(geometry.lookAngle));
    camera.projection = perspective(input, camera.near, camera.far, eyeOffset, base) *
                        Matrix4::lookAt({eyeOffset, height, halfWidth},
                                        {eyeOffset, 0, halfWidth - ahead}, {0, 1, 0});
    // The tilt turns the terrain about the ground under the observer at the near edge.
    const double ground =
        input.cellGround > 0 ? input.groundAboveBase * geometry.sceneScale / input.cellGround : 0.0;
    const double pivotZ = geometry.meshSize * geometry.vertexSpacing / 2;
    camera.modelView = Matrix4::translation(0, ground, pivotZ) *
                       Matrix4::rotation(input.parameters->tilt / 2.0, {1, 0, 0}) *
                       Matrix4::translation(0, -ground, -pivotZ);
    return camera;
}

}  // namespace

Matrix4 Matrix4::identity() {
    Matrix4 result;
    for (int i = 0; i < 4; ++i) {
        result.m[i * 5] = 1;
    }
    return result;
}

Matrix4 Matrix4::frustum(double left, double right, double bottom, double top, double near,
                         double far) {
    Matrix4 result;
    result.m[0] = 2 * near / (right - left);
    result.m[5] = 2 * near / (top - bottom);
    result.m[8] = (right + left) / (right - left);
    result.m[9] = (top + bottom) / (top - bottom);
    result.m[10] = -(far + near) / (far - near);
    result.m[11] = -1;
    result.m[14] = -2 * far * near / (far - near);
    return result;
}

Matrix4 Matrix4::lookAt(Vector eye, Vector centre, Vector up) {
    const Vector forward = normalised({centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]});
    const Vector side = normalised(cross(forward, up));
    const Vector upward = cross(side, forward);
    Matrix4 rotation = identity();
    for (int i = 0; i < 3; ++i) {
        rotation.m[i * 4 + 0] = side[i];
        rotation.m[i * 4 + 1] = upward[i];
        rotation.m[i * 4 + 2] = -forward[i];
    }
    return rotation * translation(-eye[0], -eye[1], -eye[2]);
}

Matrix4 Matrix4::rotation(double degrees, Vector axis) {
    const Vector u = normalised(axis);
    const double c = std::cos(radians(degrees));
    const double s = std::sin(radians(degrees));
    Matrix4 result = identity();
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            double value = u[row] * u[column] * (1 - c);
            if (row == column) {
                value += c;
            } else {
                const int k = 3 - row - column;
                const double sign = (column - row + 3) % 3 == 1 ? -1.0 : 1.0;
                value += sign * u[k] * s;
            }
            result.m[column * 4 + row] = value;
        }
    }
    return result;
}

Matrix4 Matrix4::translation(double x, double y, double z) {
    Matrix4 result = identity();
    result.m[12] = x;
    result.m[13] = y;
    result.m[14] = z;
    return result;
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    Matrix4 result;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a(row, k) * b(k, column);
            }
            result.m[column * 4 + row] = sum;
        }
    }
    return result;
}

CameraSetup sceneCamera(const CameraInput& input) {
    const double halfWidth = input.geometry->halfWidth();
    const double base = stereoBase(input, halfWidth);
    const double offset = input.eye == StereoEye::None   ? 0.0
                          : input.eye == StereoEye::Left ? -base / 30
                                                         : base / 30;
    return input.parameters->terrainPosition == TerrainPosition::Foreground
               ? foregroundCamera(input, halfWidth, offset, base)
               : backgroundCamera(input, halfWidth, offset, base);
}

}  // namespace tavrok::scene
