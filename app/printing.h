// Printing the result box: its content laid out by the program over the whole printable area
// of each page, without the margins and page numbers of Qt's own document printing.
#pragma once

class QPrinter;
class QTextDocument;
class QTextEdit;

namespace app {

// Prints the document on the printer, which must be set up already: from the top-left corner
// of the printable area, over its full width and height, a new page whenever the text goes on.
// An empty document gives one blank page. Returns the number of pages; throws NoPrinterError
// when the job cannot start.
int PrintDocument(const QTextDocument& document, QPrinter* printer);

// Prints the box on the default printer, no dialog, no margins.
void PrintResultBox(const QTextEdit* box);

}  // namespace app
