#include "tools/deform_dialogs.h"

#include "text/language.h"

namespace zevo {

std::optional<FieldError> RotationAngleModel::decide() {
    const auto v = EvaluateInput(angle);
    if (!v) return FieldError{kFieldAngle};
    degrees = *v;
    decided_ = true;
    return std::nullopt;
}

ArcDeformModel::ArcDeformModel(Asks asks, double current)
    : value(FormatNumber(current)), asks_(asks) {}

std::string ArcDeformModel::label() const {
    return std::string(Tr(asks_ == Asks::kRadius ? "半径" : "角度"));
}

std::optional<FieldError> ArcDeformModel::decide() {
    const auto v = EvaluateInput(value);
    if (!v) return FieldError{kFieldValue};
    number = *v;
    decided_ = true;
    return std::nullopt;
}

}  // namespace zevo
