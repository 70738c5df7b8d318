#include "ui/run_report.h"

#include "text/languages.h"

namespace {

// `text` with every "{name}" replaced by the decimal `value`.
void replacePlaceholder(std::string& text, const std::string& name, uint64_t value) {
  const std::string placeholder = "{" + name + "}";
  const std::string digits = std::to_string(value);
  for (size_t at = text.find(placeholder); at != std::string::npos;
       at = text.find(placeholder, at + digits.size())) {
    text.replace(at, placeholder.size(), digits);
  }
}

}  // namespace

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
  std::string line = narrow_lib(LoadResString(dryRun ? "IDS_SUMMARY_DRYRUN" : "IDS_SUMMARY"));
  replacePlaceholder(line, "created", counts.created);
  replacePlaceholder(line, "replaced", counts.replaced);
  replacePlaceholder(line, "unchanged", counts.unchanged);
  replacePlaceholder(line, "bytes", counts.bytesWritten);
  return line;
}

void RunReport::recoveries(const std::vector<RecoveryNote>& notes) {
  for (const RecoveryNote& note : notes) {
    if (note.undone) {
      write("recovered", "target=" + narrow_lib(note.target));
    } else {
      write("recovery-failed",
            "target=" + narrow_lib(note.target) + " kept=" + narrow_lib(note.keptBackupRoot));
    }
  }
}

void RunReport::startFailure(const WideString& path, const WideString& text, uint32_t code) {
  const std::string where = path.empty() ? std::string() : narrow_lib(path) + ": ";
  write("error", where + narrow_lib(text) + " code=" + std::to_string(code));
}
