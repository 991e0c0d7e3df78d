// Checks the seven language files of the resource package as they stand in the source
// tree: which ids each file defines, the English wording that code and log readers rely
// on, and the "%s" placeholders that the formatter fills.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The ids that every language file defines, grouped by prefix.
// clang-format off
constexpr std::string_view kSharedIds[] = {
    "about.company", "about.contact", "about.email", "about.title", "about.website",
    "addport.title",
    "gb.title.driver", "gb.title.printer",
    "lan.cn", "lan.en", "lan.es", "lan.ja", "lan.ko", "lan.pt", "lan.th", "lan.title", "lantext",
    "mainTitle", "mainInstallDriver", "mainRemoveDriver", "main.btn.previous", "main.btn.next",
    "main.btn.cancel", "main.btn.startDelete", "main.btn.index", "main.btn.preferences",
    "main.btn.properties", "main.btn.testpage", "main.btn.close",
    "title.usb", "title.net", "title.bluetooth", "title.lpt", "title.com", "title.custom",
    "tab.delete.printer.title", "tab.delete.printer.showAll", "tab.delete.title.deletedriver",
    "tab.delete.title.deletedriver.name", "tab.delete.title.deletedriver.showall",
    "tab.delete.title.readydelete", "tab.delete.title.deleting",
    "tab.install.btn.checkedname", "tab.install.btn.portlist.addport",
    "tab.install.btn.portlist.deleteport", "tab.install.btn.portlist.configureport",
    "tab.install.title.specifyport", "tab.install.title.searchprinter",
    "tab.install.title.searchprinter.usb", "tab.install.title.searchprinter.bluetooth",
    "tab.install.title.selectedprinter.usb", "tab.install.title.usb.port",
    "tab.install.title.usb.pidvid", "tab.install.title.usb.test",
    "tab.install.title.selectedprinter.bluetooth", "tab.install.title.bluetooth.name",
    "tab.install.title.bluetooth.mac", "tab.install.title.bluetooth.usecustompin",
    "tab.install.title.bluetooth.pin", "tab.install.title.specifyprinter",
    "tab.install.title.printer.model", "tab.install.title.printer.port",
    "tab.install.title.printer.status", "tab.install.title.printer.installstatus",
    "tab.install.title.portlist.specifyport", "tab.install.title.portlist.port",
    "tab.install.title.portlist.monitor", "tab.install.title.portlist.desc",
    "tab.install.title.lan.show", "tab.install.title.lan.ipaddress",
    "tab.install.title.lan.portname", "tab.install.title.printername.name",
    "tab.install.title.printername.inputprintername", "tab.install.title.printername.printername",
    "tab.install.title.printername.defaultprinter", "tab.install.title.readyinstall.name",
    "tab.install.title.readyinstall.drivername", "tab.install.title.readyinstall.portname",
    "tab.install.title.readyinstall.printername", "tab.install.title.readyinstall.isdefaultprinter",
    "tab.install.title.installing.name",
    "tip.dlgtitle", "tip.paired", "tip.close", "tip.port", "tip.add", "tip.cancel", "tip.min",
    "tip.max", "tip.language", "tip.yes", "tip.no", "tip.startpairbluetooth",
    "tip.pairbluetoothfail", "tip.pairbluetoothfailpinis", "tip.pairbluetoothsuccess",
    "tip.getbluetoothserialportfail", "tip.readbluetoothserialport", "tip.startaddlanport",
    "tip.addlanportfail", "tip.addlanportsuccess", "tip.currentportis", "tip.readdriverdirfail",
    "tip.startcopyfile", "tip.copyfilefail", "tip.copyfilesuccess", "tip.startinstalldriver",
    "tip.installdriverfail", "tip.installdriversuccess", "tip.installdriverfail2",
    "tip.startinstallprinter", "tip.installprinterfail", "tip.installprintersuccess",
    "tip.startdelete", "tip.startdeleteprinter", "tip.startdeletedriver", "tip.startdeletepack",
    "tip.deletesuccess", "tip.deletefail", "tip.delete", "tip.fail", "tip.success",
    "tip.failreason", "tip.deletefailreason", "tip.isdeleteport", "tip.notselectusbport",
    "tip.pinerror", "tip.btadapter.none", "tip.btadapter.off", "tip.btadapter.on",
    "tip.btadapter.pleasechecked", "tip.port.unidentification",
};
// clang-format on
static_assert(std::size(kSharedIds) == 132);

// Ids that only the Chinese file carries; nothing in the program looks them up.
constexpr std::string_view kChineseOnlyIds[] = {
    "tip.btn.begininstall",
    "tip.btn.cancel",
    "tip.com.buad",
    "tip.com.comset",
    "tip.com.databits",
    "tip.com.flowcontroll",
    "tip.com.hardware",
    "tip.com.none",
    "tip.com.parity",
    "tip.com.stopbits",
    "tip.com.xonxoff",
    "tip.copyfilefail2",
    "tip.title.32bit",
    "tip.title.64bit",
    "tip.title.defaultprinter",
    "tip.title.port",
    "tip.title.printermodel",
    "tip.title.printermodelset",
    "tip.title.selport",
    "tip.title.systemversion",
    "tip.title.usbchecked",
};
static_assert(std::size(kChineseOnlyIds) == 21);

// English wording of every "tip." id and of the ids that code hands to buttons and the
// removal summary. Kept verbatim, oddities included.
constexpr std::pair<std::string_view, std::string_view> kEnglishTexts[] = {
    {"main.btn.next", "Next"},
    {"main.btn.startDelete", "Start deleting"},
    {"gb.title.printer", "Printer"},
    {"gb.title.driver", "Driver"},
    {"tip.dlgtitle", "Printer Driver"},
    {"tip.paired", "Paired"},
    {"tip.close", "Close"},
    {"tip.port", "Port"},
    {"tip.add", "Add"},
    {"tip.cancel", "Cancel"},
    {"tip.min", "Minimize"},
    {"tip.max", "Maximize"},
    {"tip.language", "Language"},
    {"tip.yes", "Yes"},
    {"tip.no", "No"},
    {"tip.startpairbluetooth", "Start pairing Bluetooth..."},
    {"tip.pairbluetoothfail",
     "Start pairing Bluetooth Bluetooth pairing failed, please check whether the pairing code is 6283"},
    {"tip.pairbluetoothfailpinis", "Bluetooth pairing failed, please check whether the pairing code is:%s "},
    {"tip.pairbluetoothsuccess", "Bluetooth pairing successfully"},
    {"tip.getbluetoothserialportfail", "Failed to obtain Bluetooth serial port"},
    {"tip.readbluetoothserialport", "The read serial port is: %s"},
    {"tip.startaddlanport", "Start adding the network port..."},
    {"tip.addlanportfail", "Failed to add the network port."},
    {"tip.addlanportsuccess", "Success to add the network port."},
    {"tip.currentportis", "The current printer port is:"},
    {"tip.readdriverdirfail", "Failed to read the driver file directory: %s"},
    {"tip.startcopyfile", "Start copying the file..."},
    {"tip.copyfilefail", "Failed to copy the file: %s"},
    {"tip.copyfilesuccess", "The file is copied."},
    {"tip.startinstalldriver", "Start installing the driver..."},
    {"tip.installdriverfail", "Installation failed, error message: %s"},
    {"tip.installdriversuccess", "Driver was installed successfully"},
    {"tip.installdriverfail2", "Installation failed"},
    {"tip.startinstallprinter", "Start adding printer..."},
    {"tip.installprinterfail", "Installation failed, error message: %s"},
    {"tip.installprintersuccess", "Printer was installed successfully"},
    {"tip.startdelete", "Start deleting: %s"},
    {"tip.startdeleteprinter", "Start deleting the printer: %s"},
    {"tip.startdeletedriver", "Start deleting the driver: %s"},
    {"tip.startdeletepack", "Start deleting the package: %s"},
    {"tip.deletesuccess", "Delete: %s successfully"},
    {"tip.deletefail", "Delete: %s failed"},
    {"tip.delete", "Delete"},
    {"tip.fail", "Failure"},
    {"tip.success", "Success"},
    {"tip.failreason", "Reason for failure: %s"},
    {"tip.deletefailreason", "Reason for deletion failure: %s"},
    {"tip.isdeleteport", "Whether to delete the port: %s"},
    {"tip.notselectusbport", "USB printer is not selected."},
    {"tip.pinerror", "Pairing code is wrong, and only numbers and letters are allowed."},
    {"tip.btadapter.none", "Bluetooth adapter: Not found"},
    {"tip.btadapter.off", "Bluetooth adapter: OFF"},
    {"tip.btadapter.on", "Bluetooth adapter: ON"},
    {"tip.btadapter.pleasechecked", "Please check whether the Bluetooth is turned on."},
    {"tip.port.unidentification", "Port not recognized, please restart the computer to install again!"},
};
static_assert(std::size(kEnglishTexts) == 55);

// Each language's own name, as the chooser shows it in English.
constexpr std::pair<std::string_view, std::string_view> kLanguageNames[] = {
    {"lan.cn", "简体中文"}, {"lan.en", "English"},   {"lan.es", "Español"}, {"lan.ja", "日本語"},
    {"lan.ko", "한국어"},   {"lan.pt", "Português"}, {"lan.th", "ภาษาไทย"},
};

constexpr std::string_view kNonChineseCodes[] = {"en", "es", "ja", "ko", "pt", "th"};
constexpr std::string_view kAllCodes[] = {"cn", "en", "es", "ja", "ko", "pt", "th"};

struct LanguageFile {
  std::string name;
  // The file's bytes.
  std::string raw;
  // Empty when the file was read and is well formed.
  std::string problem;
  // (id, value) in file order.
  std::vector<std::pair<std::string, std::string>> entries;

  std::set<std::string> Ids() const {
    std::set<std::string> ids;
    for (const auto& entry : entries) ids.insert(entry.first);
    return ids;
  }

  // What loading the file leaves in the text table: a later entry of an id wins.
  std::map<std::string, std::string> Texts() const {
    std::map<std::string, std::string> texts;
    for (const auto& [id, value] : entries) texts[id] = value;
    return texts;
  }

  std::map<std::string, int> Occurrences() const {
    std::map<std::string, int> counts;
    for (const auto& entry : entries) ++counts[entry.first];
    return counts;
  }
};

LanguageFile ReadLanguageFile(std::string_view code) {
  LanguageFile file;
  file.name = "lan_" + std::string(code) + ".xml";
  const std::string path = std::string(QUORVEL_SOURCE_DIR) + "/resources/" + file.name;
  std::ifstream stream(path, std::ios::binary);
  if (!stream) {
    file.problem = path + ": cannot be read";
    return file;
  }
  std::ostringstream bytes;
  bytes << stream.rdbuf();
  file.raw = bytes.str();
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_buffer(file.raw.data(), file.raw.size());
  if (!result) {
    file.problem = path + ": " + result.description();
    return file;
  }
  const pugi::xml_node root = document.document_element();
  if (std::string_view(root.name()) != "Res") {
    file.problem = file.name + ": root element is <" + root.name() + ">";
    return file;
  }
  for (const pugi::xml_node node : root.children()) {
    if (node.type() != pugi::node_element) continue;
    const pugi::xml_attribute id = node.attribute("id");
    const pugi::xml_attribute value = node.attribute("value");
    if (std::string_view(node.name()) != "Text" || !id || !value) {
      file.problem = file.name + ": malformed element <" + node.name() + "> after " +
                     std::to_string(file.entries.size()) + " entries";
      return file;
    }
    file.entries.emplace_back(id.value(), value.value());
  }
  return file;
}

std::set<std::string> IdSet(const std::string_view* first, const std::string_view* last) {
  std::set<std::string> ids;
  for (; first != last; ++first) ids.emplace(*first);
  return ids;
}

// pugixml keeps a bare "&" as it stands; a stricter reader rejects the whole file.
bool AmpersandsAreEscaped(std::string_view raw) {
  constexpr std::string_view kReferences[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;", "&#"};
  for (std::size_t at = raw.find('&'); at != std::string_view::npos; at = raw.find('&', at + 1)) {
    bool known = false;
    for (const std::string_view reference : kReferences) {
      known = known || raw.substr(at, reference.size()) == reference;
    }
    if (!known) return false;
  }
  return true;
}

std::size_t CountOf(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size())) {
    ++count;
  }
  return count;
}

}  // namespace

TEST(LanguageFiles, EveryFileIsWellFormedWithSingleLineTexts) {
  for (const std::string_view code : kAllCodes) {
    const LanguageFile file = ReadLanguageFile(code);
    ASSERT_TRUE(file.problem.empty()) << file.problem;
    EXPECT_EQ(file.raw.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u) << file.name;
    EXPECT_TRUE(AmpersandsAreEscaped(file.raw)) << file.name;
    for (const auto& [id, value] : file.entries) {
      EXPECT_FALSE(id.empty()) << file.name;
      EXPECT_FALSE(value.empty()) << file.name << " " << id;
      EXPECT_EQ(value.find_first_of("\r\n"), std::string::npos) << file.name << " " << id;
    }
  }
}

TEST(LanguageFiles, NonChineseFilesDefineTheSharedIdsOnceEach) {
  const std::set<std::string> shared = IdSet(std::begin(kSharedIds), std::end(kSharedIds));
  ASSERT_EQ(shared.size(), 132u);
  for (const std::string_view code : kNonChineseCodes) {
    const LanguageFile file = ReadLanguageFile(code);
    ASSERT_TRUE(file.problem.empty()) << file.problem;
    EXPECT_EQ(file.entries.size(), 132u) << file.name;
    EXPECT_EQ(file.Ids(), shared) << file.name;
  }
}

TEST(LanguageFiles, ChineseFileAddsItsOwnIdsAndSixRevisedEntries) {
  std::set<std::string> expected = IdSet(std::begin(kSharedIds), std::end(kSharedIds));
  for (const std::string_view id : kChineseOnlyIds) {
    EXPECT_TRUE(expected.emplace(id).second) << id << " is also a shared id";
  }
  const LanguageFile file = ReadLanguageFile("cn");
  ASSERT_TRUE(file.problem.empty()) << file.problem;
  EXPECT_EQ(file.entries.size(), 159u);
  EXPECT_EQ(file.Ids().size(), 153u);
  EXPECT_EQ(file.Ids(), expected);

  std::vector<std::string> repeated;
  for (const auto& [id, count] : file.Occurrences()) {
    if (count > 1) {
      EXPECT_EQ(count, 2) << id;
      repeated.push_back(id);
    }
  }
  EXPECT_EQ(repeated.size(), 6u);
  EXPECT_EQ(file.Occurrences()["tip.dlgtitle"], 2);
}

TEST(LanguageFiles, EnglishWordingIsExact) {
  const LanguageFile file = ReadLanguageFile("en");
  ASSERT_TRUE(file.problem.empty()) << file.problem;
  const std::map<std::string, std::string> texts = file.Texts();
  for (const auto& [id, english] : kEnglishTexts) {
    const auto found = texts.find(std::string(id));
    ASSERT_NE(found, texts.end()) << id;
    EXPECT_EQ(found->second, english) << id;
  }
  for (const auto& [id, name] : kLanguageNames) {
    const auto found = texts.find(std::string(id));
    ASSERT_NE(found, texts.end()) << id;
    EXPECT_EQ(found->second, name) << id;
  }
  const auto title = texts.find("mainTitle");
  ASSERT_NE(title, texts.end());
  EXPECT_FALSE(title->second.empty());

  // Every "tip." id has its English wording pinned above.
  std::size_t tips = 0;
  for (const std::string_view id : kSharedIds) {
    if (id.substr(0, 4) != "tip.") continue;
    ++tips;
    bool pinned = false;
    for (const auto& entry : kEnglishTexts) pinned = pinned || entry.first == id;
    EXPECT_TRUE(pinned) << id;
  }
  EXPECT_EQ(tips, 51u);
}

// The formatter fills exactly one "%s"; texts without an argument are shown or formatted
// as they stand, so no file may carry any other percent sign either.
TEST(LanguageFiles, PlaceholdersFollowTheEnglishTexts) {
  const LanguageFile english = ReadLanguageFile("en");
  ASSERT_TRUE(english.problem.empty()) << english.problem;
  std::set<std::string> formatted;
  for (const auto& [id, value] : english.entries) {
    if (value.find("%s") != std::string::npos) formatted.insert(id);
  }
  EXPECT_EQ(formatted.size(), 15u);

  for (const std::string_view code : kAllCodes) {
    const LanguageFile file = ReadLanguageFile(code);
    ASSERT_TRUE(file.problem.empty()) << file.problem;
    for (const auto& [id, value] : file.entries) {
      const std::size_t expected = formatted.count(id);
      EXPECT_EQ(CountOf(value, "%s"), expected) << file.name << " " << id << ": " << value;
      EXPECT_EQ(CountOf(value, "%"), expected) << file.name << " " << id << ": " << value;
    }
  }
}

// The extension files carry the texts the description lacks: every language the same ids,
// each with as many "%s" as the English one.
TEST(LanguageFiles, ExtensionFilesShareTheirIdsAndPlaceholders) {
  const LanguageFile english = ReadLanguageFile("en_ext");
  ASSERT_TRUE(english.problem.empty()) << english.problem;
  const auto englishTexts = english.Texts();
  for (const std::string_view code : kAllCodes) {
    const LanguageFile file = ReadLanguageFile(std::string(code) + "_ext");
    ASSERT_TRUE(file.problem.empty()) << file.problem;
    EXPECT_TRUE(AmpersandsAreEscaped(file.raw)) << file.name;
    EXPECT_EQ(file.Ids(), english.Ids()) << file.name;
    EXPECT_EQ(file.entries.size(), file.Ids().size()) << file.name << " defines an id twice";
    for (const auto& [id, value] : file.entries) {
      const auto found = englishTexts.find(id);
      if (found == englishTexts.end()) continue;
      EXPECT_EQ(CountOf(value, "%s"), CountOf(found->second, "%s")) << file.name << " " << id;
    }
  }
}

// Portuguese is language 2070, Portugal: none of the Brazilian forms.
TEST(LanguageFiles, PortugueseExtensionTextsAreEuropeanPortuguese) {
  const LanguageFile file = ReadLanguageFile("pt_ext");
  ASSERT_TRUE(file.problem.empty()) << file.problem;
  constexpr std::string_view kBrazilian[] = {"arquivo",  "Excluir",     "driver de", "em andamento", "Uso:",
                                             "conectad", "implantação", "gravar",    " em um ",      " usar "};
  for (const auto& [id, value] : file.entries) {
    for (const std::string_view word : kBrazilian) {
      EXPECT_EQ(value.find(word), std::string::npos) << id << ": " << value;
    }
  }
}
