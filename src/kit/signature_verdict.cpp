#include "kit/signature_verdict.h"

#include "text/failure_text.h"
#include "text/languages.h"

namespace {

const char* reason_key(SignatureProblem problem) {
  switch (problem) {
    case SignatureProblem::kMissing:
      return "IDS_SIGREASON_MISSING";
    case SignatureProblem::kNotRegular:
      return "IDS_SIGREASON_NOTREGULAR";
    case SignatureProblem::kTooLarge:
      return "IDS_SIGREASON_TOOLARGE";
    case SignatureProblem::kMalformed:
      return "IDS_SIGREASON_MALFORMED";
    case SignatureProblem::kUnknownAlgorithm:
      return "IDS_SIGREASON_ALGORITHM";
    case SignatureProblem::kUnsafe:
      return "IDS_SIGREASON_UNSAFE";
    case SignatureProblem::kUntrustedKey:
      return "IDS_SIGREASON_OTHERKEY";
    case SignatureProblem::kMismatch:
      return "IDS_SIGREASON_MISMATCH";
    case SignatureProblem::kCommentChanged:
      return "IDS_SIGREASON_COMMENT";
    default:
      return nullptr;
  }
}

}  // namespace

WideString signature_refusal_reason(const SignatureVerdict& verdict) {
  const char* key = reason_key(verdict.problem);
  return key == nullptr ? failure_reason(verdict.code) : LoadResString(key);
}
