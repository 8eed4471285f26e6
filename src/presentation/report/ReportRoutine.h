// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A report routine: the hooks through which a report writes its pages. The
// same routine writes onto the preview's pages or onto the printer; the
// engine calls the hooks and offers the page operations (TPageEngine).

#include <string>

namespace dvx {

class TPageEngine;
struct TReportStyle;

class TReportRoutine {
public:
    virtual ~TReportRoutine() = default;

    // Copies the routine's style (margins, defaults, font, zoom) into the
    // engine: when the preview is activated and before each printed copy.
    virtual void LoadStyle(TPageEngine& engine);
    // Copies the engine's margins, font and zoom back into the style: when
    // the preview closes, before printing and after a font change.
    virtual void SaveStyle(TPageEngine& engine);
    // "Print": by default every copy is laid out on the printer.
    virtual void PrintReport(TPageEngine& engine);
    // Writes the page's heading; `firstPage` only for page 1. The engine has
    // already put the pen at the top-left margin when this is called.
    virtual void PageHeader(TPageEngine& engine, bool firstPage) = 0;
    // Writes the document, once per layout, after the first page header.
    virtual void ReportBody(TPageEngine& engine) = 0;
    // Finishes a page before its footer (e.g. closes a table).
    virtual void PageEnd(TPageEngine&) {}
    virtual void OnPreviewClose(TPageEngine&) {}

    // The print job's name.
    virtual std::string JobTitle() const { return "Report"; }
    virtual bool Landscape() const { return false; }

    // The stored style this routine reads and writes (may be none).
    void UseStyle(TReportStyle* style) { style_ = style; }
    TReportStyle* Style() const { return style_; }

private:
    TReportStyle* style_ = nullptr;
};

} // namespace dvx
