#pragma once
// The new-investigator wizard, run over the investigator of a new document whose rule file and
// era are set. True when the user finished it; on any other end the caller drops the document.

class QWidget;

namespace vorpane {

class Investigator;

bool runNewInvestigatorWizard(Investigator& investigator, QWidget* parent);

} // namespace vorpane
