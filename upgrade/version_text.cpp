#include "upgrade/version_text.h"

std::string GetFileVersionString(const VersionResource& versions, const std::string& fileName) {
  const VersionResource::Result result = versions.ReadFileVersion(fileName);
  switch (result.outcome) {
    case VersionResource::Outcome::NoVersionInfo:
      return "";
    case VersionResource::Outcome::Failed:
      return "-1";
    case VersionResource::Outcome::Found:
      break;
  }
  return std::to_string(result.fileVersionMS >> 16) + "." +
         std::to_string(result.fileVersionMS & 0xFFFF) + "." +
         std::to_string(result.fileVersionLS >> 16) + "." +
         std::to_string(result.fileVersionLS & 0xFFFF);
}
