#pragma once
// The program's five document types in their order, with the investigator's creation (the wizard,
// or rolled at once): the document manager below knows none of them.

namespace vorpane {

class DocumentManager;

void registerStandardTemplates(DocumentManager& documents);

} // namespace vorpane
