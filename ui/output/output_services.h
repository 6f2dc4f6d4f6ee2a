#pragma once

class Dialogs;
class PagePrinter;
class SaveFileChooser;

namespace inkquot {
class Clock;
class ProgramFolder;
}  // namespace inkquot

// What the printouts need from outside: message and input boxes, the
// printer, the save-file dialog of the PDF export and today's date. The
// program passes the real ones, tests scripted ones.
struct OutputServices {
    Dialogs& dialogs;
    PagePrinter& printer;
    SaveFileChooser& files;
    const inkquot::Clock& clock;
    // Where the shop's letterhead and the last headings are kept; without
    // it the printouts carry no letterhead and propose the placeholder
    // headings.
    const inkquot::ProgramFolder* shopFolder = nullptr;
};

// The warning of any printer failure.
inline constexpr const char* kPrinterErrorText = "打印机错误!";
// The warning of a PDF export that could not be written.
inline constexpr const char* kPdfErrorText = "PDF文件无法写入，请检查文件夹和磁盘空间：\n";
