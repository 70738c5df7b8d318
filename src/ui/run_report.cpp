#include "ui/run_report.h"

#include <utility>

#include "text/languages.h"
#include "text/wide_string.h"

std::string startLogText(const std::string& version, const WideString& kitPath, uint64_t kitSize,
                         const std::vector<config::ProductInfo>& products,
                         const WideString& languageCode, const WideString& target,
                         const char* mode) {
  std::string productList;
  for (const config::ProductInfo& product : products) {
    if (!productList.empty()) productList += "; ";
    productList += narrow_lib(product.title) + " (" + narrow_lib(product.vendor) + ")";
  }
  return "version=" + version + " kit=" + narrow_lib(kitPath) + " size=" + std::to_string(kitSize) +
         " products=\"" + productList + "\" language=" + narrow_lib(languageCode) +
         " target=" + narrow_lib(target) + " mode=" + mode;
}

std::string endLogText(int exitCode, const InstallCounts& counts) {
  return "exit=" + std::to_string(exitCode) + " created=" + std::to_string(counts.created) +
         " replaced=" + std::to_string(counts.replaced) +
         " unchanged=" + std::to_string(counts.unchanged) +
         " bytes=" + std::to_string(counts.bytesWritten);
}

std::string summaryLine(const InstallCounts& counts, bool dryRun) {
  WideString line = LoadResString(dryRun ? "IDS_SUMMARY_DRYRUN" : "IDS_SUMMARY");
  const std::pair<const char16_t*, uint64_t> values[] = {{u"{created}", counts.created},
                                                         {u"{replaced}", counts.replaced},
                                                         {u"{unchanged}", counts.unchanged},
                                                         {u"{bytes}", counts.bytesWritten}};
  for (const auto& [placeholder, value] : values) {
    replace_all(line, placeholder, widen_lib(std::to_string(value)));
  }
  return narrow_lib(line);
}

void RunReport::recoveries(const std::vector<RecoveryNote>& notes) {
  for (const RecoveryNote& note : notes) {
    // The target spelled as the start line spells it.
    const std::string target = "target=" + narrow_lib(withoutFinalSeparators(note.target));
    if (!note.passedOver.empty()) {
      write("recovery-refused",
            "path=" + narrow_lib(note.passedOver) + " code=" + std::to_string(note.reason));
      continue;
    }
    for (const std::string& path : note.leftAlone) write("left", narrow_lib(note.target) + path);
    if (note.undone) {
      write("recovered", target);
    } else {
      write("recovery-failed", target + " kept=" + narrow_lib(note.keptBackupRoot));
    }
  }
}

void RunReport::startFailure(const WideString& path, const WideString& text, uint32_t code) {
  const std::string where = path.empty() ? std::string() : narrow_lib(path) + ": ";
  write("error", where + narrow_lib(text) + " code=" + std::to_string(code));
}
