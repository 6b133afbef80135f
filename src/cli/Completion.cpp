// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "cli/Completion.h"

#include <CLI/CLI.hpp>
#include <map>
#include <sstream>
#include <vector>

#include "cli/CliSupport.h"

namespace tonekit::cli {
namespace {

// What the value of an option (or a positional argument) is, for choosing what to offer.
enum class Kind { AnyFile, Mld, Mid, Csv, Wav, Soundfont, Folder, Track, Tag, TagAssignment, Free };

// Keyed by "COMMAND NAME", NAME being an option's long name or a positional argument's name.
// A value missing here is completed as any file, which is never wrong, only less helpful.
Kind kindOf(const std::string& command, const std::string& name) {
  static const std::map<std::string, Kind> kinds = {
      {"info FILE", Kind::Mld},         {"set FILE", Kind::Mld},
      {"set --out", Kind::Mld},         {"set --text", Kind::TagAssignment},
      {"set --hex", Kind::TagAssignment}, {"set --enable", Kind::Tag},
      {"set --disable", Kind::Tag},     {"events FILE", Kind::Mld},
      {"events --track", Kind::Track},  {"list DIR", Kind::Folder},
      {"list --pattern", Kind::Free},   {"apply LISTFILE", Kind::Csv},
      {"apply --errors", Kind::Csv},    {"apply --quotes", Kind::Free},
      {"apply --encoding", Kind::Free}, {"smf FILE", Kind::Mid},
      {"import IN", Kind::Mid},         {"import --out", Kind::Mld},
      {"import --title", Kind::Free},   {"export FILE", Kind::Mld},
      {"export --out", Kind::Mid},      {"export --track", Kind::Track},
      {"render FILE", Kind::Mld},       {"render --out", Kind::Wav},
      {"render --soundfont", Kind::Soundfont}, {"render --rate", Kind::Free},
  };
  const auto found = kinds.find(command + " " + name);
  return found == kinds.end() ? Kind::AnyFile : found->second;
}

struct Option {
  std::vector<std::string> names;  // "-h", "--help"; for a positional argument its name
  bool takesValue = false;
  bool positional = false;
  bool repeatable = false;  // may be given more than once
  Kind kind = Kind::AnyFile;
  std::string description;
};

struct Command {
  std::string name;
  std::string description;
  std::vector<Option> options;
};

std::vector<Command> commandTable(const CLI::App& app) {
  std::vector<Command> commands;
  for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) {
    Command command{sub->get_name(), sub->get_description(), {}};
    for (const CLI::Option* opt : sub->get_options()) {
      Option option;
      option.positional = opt->get_positional();
      option.takesValue = option.positional || opt->get_expected_max() > 0;
      option.repeatable = !option.positional && opt->get_expected_max() > 1;
      option.description = opt->get_description();
      if (option.positional) {
        option.names.push_back(opt->get_name());
      } else {
        for (const auto& s : opt->get_snames()) option.names.push_back("-" + s);
        for (const auto& l : opt->get_lnames()) option.names.push_back("--" + l);
      }
      option.kind = option.takesValue ? kindOf(command.name, option.names.back()) : Kind::Free;
      command.options.push_back(option);
    }
    commands.push_back(command);
  }
  return commands;
}

std::string tagList(const char* suffix = "") { return joined(chunkTags(suffix), " "); }

// The bash words that fill COMPREPLY for a value of this kind.
std::string bashValue(Kind kind) {
  switch (kind) {
    case Kind::Mld: return "_tonekit_cli_files '[mM][lL][dD]'";
    case Kind::Mid: return "_tonekit_cli_files '[mM][iI][dD]'";
    case Kind::Csv: return "_tonekit_cli_files '[cC][sS][vV]'";
    case Kind::Wav: return "_tonekit_cli_files '[wW][aA][vV]'";
    case Kind::Soundfont: return "_tonekit_cli_files '[sS][fF][23]'";
    case Kind::Folder: return "compopt -o filenames; COMPREPLY=($(compgen -d -- \"$cur\"))";
    case Kind::Track: return "_tonekit_cli_tracks";
    case Kind::Tag: return "COMPREPLY=($(compgen -W '" + tagList() + "' -- \"$cur\"))";
    case Kind::TagAssignment:
      return "compopt -o nospace; COMPREPLY=($(compgen -W '" + tagList("=") + "' -- \"$cur\"))";
    case Kind::Free: return ":";
    case Kind::AnyFile: break;
  }
  return "compopt -o filenames; COMPREPLY=($(compgen -f -- \"$cur\"))";
}

std::string bashScript(const std::vector<Command>& commands) {
  std::vector<std::string> names;
  for (const auto& c : commands) names.push_back(c.name);
  std::ostringstream s;
  s << R"sh(# bash completion for tonekit-cli; made by `tonekit-cli --completion bash`.

# Folders, and the files whose extension matches $1 (a glob such as '[mM][lL][dD]').
_tonekit_cli_files() {
  local IFS=$'\n'
  compopt -o filenames
  COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X "!*.$1" -- "$cur"))
}

# The track numbers of the MLD file on the line (0 to 3 while there is none to read).
_tonekit_cli_tracks() {
  local i word file="" count=4
  for ((i = 2; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    [[ $word == -* || ${COMP_WORDS[i - 1]} == --* ]] && continue
    [[ -f $word ]] && file=$word && break
  done
  if [[ -n $file ]]; then
    count=$("${COMP_WORDS[0]}" info "$file" 2>/dev/null | grep -c '"key": "trac')
  fi
  ((count > 0)) && COMPREPLY=($(compgen -W "$(seq 0 $((count - 1)))" -- "$cur"))
}

_tonekit_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  local i command=""
  COMPREPLY=()
  for ((i = 1; i < COMP_CWORD; i++)); do
    [[ ${COMP_WORDS[i]} != -* ]] && command=${COMP_WORDS[i]} && break
  done
  if [[ -z $command ]]; then
    if [[ $cur == -* ]]; then
      COMPREPLY=($(compgen -W '-h --help -V --version' -- "$cur"))
    else
      COMPREPLY=($(compgen -W ')sh"
    << joined(names, " ") << R"sh(' -- "$cur"))
    fi
    return
  fi
  case $command in
)sh";
  for (const auto& c : commands) {
    std::vector<std::string> optionNames;
    const Option* positional = nullptr;
    s << "    " << c.name << ")\n      case $prev in\n";
    for (const auto& o : c.options) {
      if (o.positional) {
        if (!positional) positional = &o;
        continue;
      }
      optionNames.insert(optionNames.end(), o.names.begin(), o.names.end());
      if (o.takesValue) s << "        " << joined(o.names, "|") << ") " << bashValue(o.kind) << "; return ;;\n";
    }
    s << "      esac\n      if [[ $cur == -* ]]; then\n        COMPREPLY=($(compgen -W '" << joined(optionNames, " ")
      << "' -- \"$cur\"))\n";
    if (positional) s << "      else\n        " << bashValue(positional->kind) << "\n";
    s << "      fi\n      ;;\n";
  }
  s << "  esac\n}\ncomplete -F _tonekit_cli tonekit-cli\n";
  return s.str();
}

// Single quotes inside a zsh _arguments option description, and the brackets and colons it gives a meaning.
std::string zshQuoted(std::string text) {
  std::string out;
  for (char c : text) {
    if (c == '\'') out += "'\\''";
    else if (c == '[' || c == ']' || c == ':') out += std::string("\\") + c;
    else out += c;
  }
  return out;
}

std::string zshAction(Kind kind) {
  switch (kind) {
    case Kind::Mld: return "_files -g \"*.(#i)mld\"";
    case Kind::Mid: return "_files -g \"*.(#i)mid\"";
    case Kind::Csv: return "_files -g \"*.(#i)csv\"";
    case Kind::Wav: return "_files -g \"*.(#i)wav\"";
    case Kind::Soundfont: return "_files -g \"*.(#i)sf[23]\"";
    case Kind::Folder: return "_files -/";
    case Kind::Track: return "(0 1 2 3)";
    case Kind::Tag: return "(" + tagList() + ")";
    case Kind::TagAssignment: return "(" + tagList("=") + ")";
    case Kind::Free: return " ";
    case Kind::AnyFile: break;
  }
  return "_files";
}

std::string zshScript(const std::vector<Command>& commands) {
  std::ostringstream s;
  s << "#compdef tonekit-cli\n# zsh completion for tonekit-cli; made by `tonekit-cli --completion zsh`.\n\n"
    << "_tonekit_cli() {\n  local -a commands\n  commands=(\n";
  for (const auto& c : commands) s << "    '" << c.name << ":" << zshQuoted(c.description) << "'\n";
  s << "  )\n  local curcontext=$curcontext state line\n"
    << "  _arguments -C '(- *)'{-h,--help}'[Print this help message and exit]' "
       "'(- *)'{-V,--version}'[Print the version and exit]' '1: :->command' '*:: :->argument'\n"
    << "  case $state in\n    command) _describe -t commands 'tonekit-cli command' commands ;;\n"
    << "    argument)\n      case $line[1] in\n";
  for (const auto& c : commands) {
    s << "        " << c.name << ") _arguments";
    int position = 1;
    for (const auto& o : c.options) {
      const std::string description = zshQuoted(o.description);
      if (o.positional) {
        s << " '" << position++ << ":" << zshQuoted(o.names.front()) << ":" << zshAction(o.kind) << "'";
        continue;
      }
      const std::string value = o.takesValue ? ":value:" + zshAction(o.kind) : "";
      for (const auto& n : o.names)
        s << " '" << (o.repeatable ? "*" : "") << n << "[" << description << "]" << value << "'";
    }
    s << " ;;\n";
  }
  s << "      esac ;;\n  esac\n}\n\n_tonekit_cli \"$@\"\n";
  return s.str();
}

}  // namespace

std::string completionScript(const CLI::App& app, const std::string& shell) {
  if (shell == "bash") return bashScript(commandTable(app));
  if (shell == "zsh") return zshScript(commandTable(app));
  return {};
}

}  // namespace tonekit::cli
