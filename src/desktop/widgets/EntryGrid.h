// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The property sheet on a Qt table: the heading row as the table's fixed
// header, the caption, value and units columns, the formatted edit as the
// in-place editor of the value column, enumerated rows cycled by arrows and
// double click or chosen from a drop-down list, spin and property-editor
// buttons, and the units column that opens the units chooser.
// Sheet row r (r ≥ 1) is table row r − 1; row 0 is the header.

#include "presentation/widgets/EntrySheet.h"
#include "desktop/widgets/EditOnClick.h"
#include "desktop/widgets/MyListBox.h"
#include "desktop/widgets/UnitsChooser.h"

#include <QColor>
#include <QPointer>
#include <QTableView>
#include <functional>

class QToolButton;

namespace dvx {

class TEntryGridModel;

class TEntryGrid : public TEditOnClick<QTableView>, public TEntrySheet {
    Q_OBJECT
public:
    explicit TEntryGrid(QWidget* parent = nullptr);
    ~TEntryGrid() override;

    QColor ColorEditCol;      // value column background; invalid = the sheet's colour
    QColor ColorEditMode;     // in-place editor background; invalid = the sheet's colour
    QColor ColorEditModeText; // in-place editor text; invalid = the sheet's text colour

    void SetUnitsChooser(TUnitsChooser chooser) { chooser_ = std::move(chooser); }
    const TUnitsChooser& UnitsChooser() const { return chooser_; }

    // Fired after the sheet has prepared a newly selected cell; setting
    // `allowed` to false keeps the previous cell.
    std::function<void(TEntryGrid& sender, int col, int row, bool& allowed)> OnSelectCell;
    // Fired after every change the user commits.
    std::function<void(TEntryGrid& sender, int col, int row)> OnDoSetData;
    // Fired after the units chooser has been used on a row.
    std::function<void(TEntryGrid& sender, int row)> OnAfterRightClick;

    // The default row height in pixels (also the drop-down item height).
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int pixels);
    // Sheet row and column of the current cell (row 0 when there is none).
    int CurrentRow() const;
    int CurrentCol() const;
    // Makes a cell current (sheet numbering).
    void SetCurrentCell(int col, int row);

    // Steps the current enumerated row / toggles its list / spins, as the
    // keys and buttons do (fire OnDoSetData on a change).
    void CycleCurrentEnum(int step);
    void ToggleDropDown();
    TMyListBox* DropDownList() const { return list_; }
    void Spin(bool up);
    void RunPropertyEditor();

    QToolButton* DropDownButton() const { return dropDown_; }
    QToolButton* PropEditorButton() const { return propEditor_; }
    QToolButton* SpinUpButton() const { return spinUp_; }
    QToolButton* SpinDownButton() const { return spinDown_; }

    void FireDoSetData(int col, int row);

    // Whether the in-place editor is open, and closing it with its entry
    // validated and stored (as when it loses the focus).
    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }
    void FinishEditing();

signals:
    void DoSetData(int col, int row);
    void AfterRightClick(int row);

protected:
    void ShowMessage(const std::string& text) override;
    void CellChanged(int col, int row) override;
    void RowsRebuilt() override;

    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TEntryGridDelegate;
    friend class TMyListBox;
    void SelectCell(int col, int row);
    void HideButtons();
    void PlaceButtons();
    void CloseDropDown();
    bool EnumRowIsCurrent() const;

    TEntryGridModel* model_;
    QToolButton* dropDown_ = nullptr;
    QToolButton* propEditor_ = nullptr;
    QToolButton* spinUp_ = nullptr;
    QToolButton* spinDown_ = nullptr;
    QPointer<TMyListBox> list_;
    QPointer<QWidget> editor_;
    TUnitsChooser chooser_;
    QModelIndex previous_;
    bool reverting_ = false;
};

} // namespace dvx
