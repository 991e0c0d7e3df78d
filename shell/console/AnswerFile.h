// The answer file: the choices of one run in XML, for deployment tools that keep them
// apart from the command line. The root element is <answers>, with the verb in its "verb"
// attribute (and, for list, the subject in "what"); every other option is a child element
// of the option's name without the dashes, holding its value as text. Options without a
// value (all, json, what-if) are empty elements; printer and driver may repeat.
//
//   <answers verb="install">
//     <model>300</model>
//     <port>network</port>
//     <address>192.168.1.50</address>
//     <printer-name>Dispatch</printer-name>
//     <default>no</default>
//   </answers>
//
// Threads: any; no state.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct AnswerFileOption {
  std::wstring name;  // without the dashes
  std::wstring value;
  bool hasValue = false;
};

struct AnswerFileContent {
  std::wstring verb;
  std::wstring what;
  std::vector<AnswerFileOption> options;
};

// The content, or an error text (the parser's, with the byte offset, or what is out of
// place); the option names themselves are checked by the caller.
struct AnswerFileResult {
  std::optional<AnswerFileContent> content;
  std::wstring error;
};

AnswerFileResult ReadAnswerFile(std::span<const uint8_t> bytes);
