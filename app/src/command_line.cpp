// Command-line parsing through getopt_long: the long-option conventions users know from GNU tools,
// with this program's messages.
#include "command_line.h"

#include <xelhost/errors.h>
#include <xelhost/message_text.h>

#include <getopt.h>

#include <algorithm>
#include <vector>

namespace xelimg {

namespace {

// getopt_long hands back option i as kFirstOption + i, clear of the codes it uses itself.
constexpr int kFirstOption = 256;
constexpr int kOperand = 1;  // what a leading '-' in the option string makes of an operand
constexpr OptionSpec kHelpOption{"help", false};

// The option as typed, without its value: "--name" of "--name=VALUE".
std::string OptionText(const std::string& arg) { return arg.substr(0, arg.find('=')); }

UsageError UnknownOption(const std::string& arg) {
  return UsageError("unknown option " + QuoteForMessage(arg.starts_with("--") ? OptionText(arg) : arg));
}

}  // namespace

Arguments ParseArguments(std::span<const std::string> args, std::span<const OptionSpec> specs,
                         std::size_t maxOperands) {
  std::vector<OptionSpec> known(specs.begin(), specs.end());
  known.push_back(kHelpOption);
  std::vector<option> table;
  for (std::size_t i = 0; i < known.size(); ++i) {
    table.push_back({known[i].name.data(), known[i].takesValue ? required_argument : no_argument, nullptr,
                     kFirstOption + static_cast<int>(i)});
  }
  table.push_back({nullptr, 0, nullptr, 0});

  // getopt_long wants C strings it may point into; argv[0] is the program.
  std::vector<std::string> storage{"xelimg"};
  storage.insert(storage.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : storage) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(storage.size());

  Arguments::OptionValues options;
  std::vector<std::string> operands;
  // "-": operands come back in order whatever POSIXLY_CORRECT says; ":": no messages of getopt's own.
  constexpr const char* kOptionString = "-:";
  optind = 0;  // glibc starts afresh
  opterr = 0;
  while (std::max(optind, 1) < argc) {
    const std::string& arg = storage[static_cast<std::size_t>(std::max(optind, 1))];
    const int code = getopt_long(argc, argv.data(), kOptionString, table.data(), nullptr);
    if (code == -1) break;
    if (code == kOperand) {
      operands.emplace_back(optarg);
      continue;
    }
    const bool knownOption = optopt >= kFirstOption;
    if (code == ':') throw UsageError("option " + QuoteForMessage(OptionText(arg)) + " needs a value");
    if (code == '?' && knownOption) throw UsageError("option " + QuoteForMessage(OptionText(arg)) + " takes no value");
    if (code < kFirstOption) throw UnknownOption(arg);
    const OptionSpec& spec = known[static_cast<std::size_t>(code - kFirstOption)];
    // getopt_long would take "--prof" for "--profile"; an abbreviation could change its meaning
    // when an option is added, so only the whole name counts.
    if (OptionText(arg) != "--" + std::string(spec.name)) throw UnknownOption(arg);
    std::vector<std::string>& values = options[std::string(spec.name)];
    if (!values.empty() && !spec.repeatable)
      throw UsageError("option " + QuoteForMessage(OptionText(arg)) + " given twice");
    values.emplace_back(spec.takesValue ? optarg : "");
  }
  for (int i = std::max(optind, 1); i < argc; ++i) operands.push_back(storage[static_cast<std::size_t>(i)]);

  Arguments parsed(std::move(options), std::move(operands));
  if (!parsed.WantsHelp() && parsed.Operands().size() > maxOperands) {
    throw UsageError("unexpected argument " + QuoteForMessage(parsed.Operands()[maxOperands]));
  }
  return parsed;
}

}  // namespace xelimg
