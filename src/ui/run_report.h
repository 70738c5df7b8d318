// What a run tells beyond its windows: the installation log's lines that the
// start and the end of a run write (start, recoveries, start failures, end)
// and the summary line that ends an unattended run on standard error. The
// worker writes its own lines to the same log. Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "install/install_counts.h"
#include "install/install_log.h"
#include "install/recovery.h"
#include "kit/install_data.h"
#include "text/wide_string.h"

// The log's "start" text: version=V kit=PATH size=BYTES products="TITLE
// (VENDOR); ..." language=CODE target=PATH mode=MODE.
std::string startLogText(const std::string& version, const WideString& kitPath, uint64_t kitSize,
                         const std::vector<config::ProductInfo>& products,
                         const WideString& languageCode, const WideString& target,
                         const char* mode);
// The log's "end" text: exit=N created=C replaced=R unchanged=U bytes=B.
std::string endLogText(int exitCode, const InstallCounts& counts);
// The summary in the current resource language, its placeholders replaced
// by the counts; the dry run's says what would be done.
std::string summaryLine(const InstallCounts& counts, bool dryRun);

class RunReport {
 public:
  // Lines go to `log`, none when it is null.
  explicit RunReport(InstallLog* log = nullptr) : m_log(log) {}

  InstallLog* log() const { return m_log; }
  void start(const std::string& text) { write("start", text); }
  // One line per interrupted installation found at start.
  void recoveries(const std::vector<RecoveryNote>& notes);
  // A failure before any installation started: "PATH: text code=N", or
  // "text code=N" without a path.
  void startFailure(const WideString& path, const WideString& text, uint32_t code);
  // Whether the kit's signature was verified before the installation, and
  // by the key of which file (empty: no key is trusted).
  void signature(const std::string& keyFile) {
    write("signature",
          keyFile.empty() ? "unverified: no trusted key is configured" : "verified key=" + keyFile);
  }
  void end(int exitCode, const InstallCounts& counts) {
    write("end", endLogText(exitCode, counts));
  }

 private:
  void write(const char* event, const std::string& text) {
    if (m_log != nullptr) m_log->write(event, text);
  }

  InstallLog* m_log;
};
