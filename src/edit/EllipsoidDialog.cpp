#include "edit/EllipsoidDialog.h"

namespace tavrok::edit {

int ellipsoidRadioId(geodesy::EllipsoidId ellipsoid) {
    if (ellipsoid == geodesy::EllipsoidId::Wgs72) {
        return 1328;
    }
    for (const auto& choice : ellipsoidChoices) {
        if (choice.ellipsoid == ellipsoid) {
            return choice.radioId;
        }
    }
    return 0;
}

std::string_view EllipsoidDialog::currentName() const {
    return ellipsoidRadioId(m_current) != 0 ? geodesy::datumNameFor(m_current) : "";
}

}  // namespace tavrok::edit
