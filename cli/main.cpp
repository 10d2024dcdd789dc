// taotu-cli: the program's jobs from a terminal or a script.
#include <CLI/CLI.hpp>
#include <map>

#include "cli/download_command.h"
#include "cli/shop_command.h"

namespace {

using taotu::job::Option;

struct Flag {
  const char* name;
  const char* help;
  Option option;
  bool on;
};

// Each flag is one click in the window, in the order given.
constexpr Flag kFlags[] = {
    {"--no-main", "do not download main pictures (选择框1 off)", Option::DownloadMain, false},
    {"--no-detail", "do not download description pictures (选择框5 off)", Option::DownloadDetail, false},
    {"--no-other", "do not download style-sheet pictures (选择框6 off)", Option::DownloadOther, false},
    {"--flat", "no folder per item (选择框2 off)", Option::FolderPerItem, false},
    {"--title", "add the item title to its folder name (选择框7 on)", Option::TitleInFolder, true},
    {"--no-csv", "do not export a CSV data package (选择框3 off)", Option::ExportCsv, false},
    {"--csv", "export a CSV data package (选择框3 on)", Option::ExportCsv, true},
    {"--independent", "one CSV package per item (单选框1)", Option::IndependentCsv, true},
    {"--composite", "one CSV package per job (单选框2)", Option::CompositeCsv, true},
    {"--keep-links", "keep hyperlinks in exported descriptions (选择框4 off)", Option::RemoveHyperlinks,
     false},
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"taotu-cli: copies product pictures of Taobao, Tmall and 1688 item pages to the local disk"};
  app.set_version_flag("--version", "taotu-cli 8.2");
  app.require_subcommand(1);

  taotu::cli::DownloadRequest request;
  CLI::App* download = app.add_subcommand(
      "download", "download the pictures of item pages, picture addresses and CSV packages");
  download->add_option("ENTRY", request.entries, "item-page address, picture address or CSV package path");
  download
      ->add_option("--list", request.listFile, "read entries from FILE, one per line (- = standard input)")
      ->type_name("FILE");
  download->add_option("--save", request.saveFolder, "save location (default: the current directory)")
      ->type_name("DIR");
  std::map<const CLI::Option*, const Flag*> flagOf;
  for (const Flag& flag : kFlags) flagOf[download->add_flag(flag.name, flag.help)] = &flag;

  taotu::cli::ShopRequest shopRequest;
  CLI::App* shop =
      app.add_subcommand("shop", "print the item links of every item of Tmall, Taobao or 1688 shops");
  shop->add_option("ADDRESS", shopRequest.addresses, "shop address, such as http://lanchuan.taobao.com")
      ->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : 2;
  }

  if (shop->parsed()) return taotu::cli::RunShop(shopRequest);

  for (const CLI::Option* given : download->parse_order()) {
    if (auto it = flagOf.find(given); it != flagOf.end()) {
      taotu::job::Click(request.options, it->second->option, it->second->on);
    }
  }
  return taotu::cli::RunDownload(request);
}
