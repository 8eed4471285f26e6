// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two report styles ("Report" and "Report 2") in the settings store:
// read once at start-up, with the toolkit's font as the default report
// font, and written back at exit.

namespace dvx {

class SettingsStore;

void LoadReportStyles(SettingsStore& store);
// Raises the store's error when the file cannot be written.
void SaveReportStyles(SettingsStore& store);

} // namespace dvx
