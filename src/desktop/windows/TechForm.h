// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The property-sheet tool window: a tool bar with the full set of sheet
// commands, a property sheet and a status bar. Each window built on it shows
// the buttons it uses and hides the others, and fills in the commands.
// A pop-up menu on the window offers "Copy to XML".

#include "desktop/windows/CustomForm.h"

#include <initializer_list>

class QMenu;

namespace dvx {
class TEntryGrid;
}

namespace dvx::ui {

enum TTechButton {
    tbOpen,
    tbCopy,
    tbPaste,
    tbSolve,
    tbView,
    tbPrint,
    tbHelp,
    tbAbout,
    tbSave,
    tbAlign,
    tbReset,
    tbCancel,
    tbAccept,
    TechButtonCount
};

// A sheet row's value as a number; a cell text that does not read raises
// ConvertError.
double SheetNumber(const TEntryGrid& grid, int row);

class TTechForm : public TCustomForm {
    Q_OBJECT
public:
    TTechForm(const QString& name, const QString& caption, QWidget* parent = nullptr);

    QAction* TechButton(TTechButton button) const { return buttons_[button]; }
    // Shows exactly these buttons.
    void ShowTechButtons(std::initializer_list<TTechButton> shown);
    TEntryGrid* Grid() const { return grid_; }
    QMenu* PopupMenu() const { return popup_; }

    // Sizes the columns to their texts and the window to the sheet.
    void Align();
    // The sheet as XML text, and the same put on the clipboard.
    QString XmlText() const;
    void CopyToXml();

    // The commands of the tool bar. Accept takes a pending cell edit and
    // closes with the OK result; Cancel closes with the cancel result.
    virtual void OpenClick() {}
    virtual void CopyClick() {}
    virtual void PasteClick() {}
    virtual void SolveClick() {}
    virtual void ViewClick() {}
    virtual void PrintClick() {}
    virtual void HelpClick() {}
    virtual void AboutClick() {}
    virtual void SaveClick() {}
    virtual void ResetClick() {}
    virtual bool AcceptClick();
    virtual void CancelClick();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QAction* buttons_[TechButtonCount] = {};
    TEntryGrid* grid_;
    QMenu* popup_;
};

} // namespace dvx::ui
