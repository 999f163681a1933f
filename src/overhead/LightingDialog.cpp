#include "overhead/LightingDialog.h"

#include <algorithm>

namespace tavrok::overhead {

support::Status LightingDialog::accept() {
    parameters.shadeDepth = std::clamp(parameters.shadeDepth, 0, 100);
    return support::success();
}

}  // namespace tavrok::overhead
