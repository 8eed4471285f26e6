// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The formatted numeric edit without its widget: format, format type, range,
// units and the rules for reading, writing and checking the text. The widget
// (qt/FmtEdit.h) supplies the text and the beep.

#include "presentation/widgets/FieldValue.h"
#include "presentation/widgets/Units.h"

#include <string>

namespace dvx {

class TFmtEditBase {
public:
    virtual ~TFmtEditBase() = default;

    // The field's text; the number is derived from it each time it is read.
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;

    const std::string& FormatStr() const { return formatStr_; }
    // A change to "%S" while the text is "0.0" empties the field.
    void SetFormatStr(const std::string& format);
    TFormatClass FormatClass() const { return FormatClassOf(formatStr_); }
    int Decimals() const { return decimals_; }

    TFormatType FormatType = ft_Fixed;
    int SigDigs = 5;
    double RangeLo = 0.0; // internal units; equal limits mean no range
    double RangeHi = 0.0; // internal units

    TUnitsType UnitsType() const { return unitsType_; }
    int UnitsValue() const { return unitsValue_; }
    int UnitsBase() const { return unitsBase_; }
    // Setting the family resets factor and zero; every units setter shows the
    // same internal value again in the new unit.
    void SetUnitsType(TUnitsType type);
    void SetUnitsValue(int index);
    void SetUnitsBase(int index);
    double UnitsFactor() const { return factor_; }
    double UnitsZero() const { return zero_; }
    const std::string& UnitsLabelText() const { return unitsLabel_; }

    // Set by editing, cleared when the field gets the focus.
    bool Modified = false;

    // The text as a value in internal units (see ReadFieldText).
    TValue GetValue() const;
    // Shows a value given in internal units; a value that cannot be
    // formatted empties the field.
    void SetValue(const TValue& value);
    // Cleans, range-checks and reformats the text; false when a number was
    // replaced by the nearer limit. Marks the field modified.
    bool Validate();

    // Display limits: RangeLo and RangeHi × factor + zero.
    double DisplayLo() const { return RangeLo * factor_ + zero_; }
    double DisplayHi() const { return RangeHi * factor_ + zero_; }

    TNumberView View() const;

protected:
    // The unit label changed; widgets show it on their attached label.
    virtual void UnitsLabelChanged(const std::string& /*label*/) {}

private:
    void ApplyUnits();
    bool TryApplyUnits();

    std::string formatStr_ = "%0.1f";
    int decimals_ = 1;
    TUnitsType unitsType_ = utNone;
    int unitsValue_ = 0;
    int unitsBase_ = 0;
    double factor_ = 1.0;
    double zero_ = 0.0;
    std::string unitsLabel_;
};

} // namespace dvx
