// A printer INF file as the printer-installation applet reads it: its sections, its
// string table, the models of a manufacturer and each model's install section with the
// files it copies. Only what a printer driver INF uses is understood.
//
// Threads: a value; no shared state.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class PrinterInfFile {
 public:
  struct Model {
    std::wstring manufacturer;
    std::wstring driverFile;
    std::wstring configFile;
    std::wstring dataFile;
    std::wstring helpFile;
    std::vector<std::wstring> dependentFiles;  // copied files other than the four above
    std::vector<std::wstring> files;           // every file the model copies, the four included
  };

  // UTF-16 (with its byte-order mark) or UTF-8 text; nothing for bytes that are no text.
  static std::optional<PrinterInfFile> Parse(const std::vector<uint8_t>& bytes);

  // Signature "$Windows NT$" and class Printer.
  bool IsPrinterInf() const;
  std::wstring Provider() const;
  std::wstring DriverVer() const;  // "mm/dd/yyyy,a.b.c.d"
  // The model of that name in the models section for the decoration ("NTamd64", "NTx86").
  std::optional<Model> FindModel(std::wstring_view modelName, std::wstring_view decoration) const;
  // The folder, relative to the INF, that a file is taken from ("" beside it).
  std::wstring SourceSubfolder(std::wstring_view fileName) const;

 private:
  struct Line {
    std::wstring key;  // empty for a line without "="
    std::vector<std::wstring> values;
  };
  const std::vector<Line>* Section(std::wstring_view name) const;
  std::wstring Value(std::wstring_view section, std::wstring_view key) const;
  std::wstring Substitute(std::wstring_view text) const;

  std::map<std::wstring, std::vector<Line>> sections_;  // by lower-case name
  std::map<std::wstring, std::wstring> strings_;        // by lower-case key
};
