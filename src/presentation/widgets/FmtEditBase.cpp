// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/widgets/FmtEditBase.h"

namespace dvx {

void TFmtEditBase::SetFormatStr(const std::string& format) {
    formatStr_ = format;
    decimals_ = DecimalsOf(format);
    if (FormatClass() == TFormatClass::Text && Text() == "0.0") SetText("");
}

TNumberView TFmtEditBase::View() const {
    return TNumberView{formatStr_, FormatType, SigDigs, factor_, zero_};
}

TValue TFmtEditBase::GetValue() const {
    return ReadFieldText(FormatClass(), Text(), View());
}

void TFmtEditBase::SetValue(const TValue& value) {
    SetText(WriteFieldValue(FormatClass(), value, View()).value_or(std::string()));
}

bool TFmtEditBase::Validate() {
    TValidated result = ValidateText(FormatClass(), Text(), View(), DisplayLo(), DisplayHi());
    SetText(result.Text);
    Modified = true;
    return result.Accepted;
}

void TFmtEditBase::SetUnitsType(TUnitsType type) {
    unitsType_ = type;
    factor_ = 1.0;
    zero_ = 0.0;
    ApplyUnits();
}

void TFmtEditBase::SetUnitsValue(int index) {
    unitsValue_ = index;
    ApplyUnits();
}

void TFmtEditBase::SetUnitsBase(int index) {
    unitsBase_ = index;
    ApplyUnits();
}

bool TFmtEditBase::TryApplyUnits() {
    const TValue value = GetValue();
    std::string format = formatStr_;
    std::string label = unitsLabel_;
    double factor = factor_;
    double zero = zero_;
    try {
        UnitsInfo(unitsType_, unitsValue_, unitsBase_, format, label, factor, zero);
    } catch (const UnitsError&) {
        return false;
    }
    factor_ = factor;
    zero_ = zero;
    if (FormatType != ft_Manual) formatStr_ = format;
    decimals_ = DecimalsOf(formatStr_);
    unitsLabel_ = label;
    UnitsLabelChanged(label);
    SetValue(value);
    return true;
}

void TFmtEditBase::ApplyUnits() {
    if (unitsType_ == utNone) return;
    // A unit the service cannot give falls back to the family's first unit.
    if (!TryApplyUnits() && unitsValue_ != 0) {
        unitsValue_ = 0;
        TryApplyUnits();
    }
}

} // namespace dvx
