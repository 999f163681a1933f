#pragma once
#include <array>

#include "scene/MeshGeometry.h"
#include "scene/SceneParameters.h"

namespace tavrok::scene {

// A 4 × 4 matrix in OpenGL's column-major order: element (row, column) is at column × 4 + row.
struct Matrix4 {
    std::array<double, 16> m{};

    static Matrix4 identity();
    static Matrix4 frustum(double left, double right, double bottom, double top, double near,
                           double far);
    static Matrix4 lookAt(std::array<double, 3> eye, std::array<double, 3> centre,
                          std::array<double, 3> up);
    static Matrix4 rotation(double degrees, std::array<double, 3> axis);
    static Matrix4 translation(double x, double y, double z);

    double operator()(int row, int column) const { return m[column * 4 + row]; }
    friend Matrix4 operator*(const Matrix4& a, const Matrix4& b);
};

// Where the eye of a stereo pass sits: none, or left or right of the centre.
enum class StereoEye { None, Left, Right };

// The two matrices of one pass and its clipping planes. The look-at sits in the projection,
// so that lighting stays fixed to the terrain.
struct CameraSetup {
    Matrix4 projection;
    Matrix4 modelView;
    double near = 1;
    double far = 2;
    double eyeOffset = 0;  // scene units along x; negative for the left eye
};

struct CameraInput {
    const SceneParameters* parameters = nullptr;
    const MeshGeometry* geometry = nullptr;
    double aspect = 4.0 / 3.0;  // width / height of one eye's image
    // The ground under the observer above the scene base, elevation units; Background only.
    double groundAboveBase = 0;
    double cellGround = 1;  // metres between neighbouring cells
    StereoEye eye = StereoEye::None;
};

// The Foreground camera looks at the block from outside, the Background one stands at the
// near edge. Both see 16 degrees either side of the view's centre line.
CameraSetup sceneCamera(const CameraInput& input);

}  // namespace tavrok::scene
