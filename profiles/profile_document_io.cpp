#include "profiles/profile_document_io.h"

#include "profiles/json_access.h"
#include "profiles/json_file_util.h"

namespace norvane {

ParsedProfileDocument ParseProfileDocumentForUpdate(std::string_view text) {
  Json::Value document;
  // Unparsable text is kept aside by WriteJsonValue when the repaired document is written.
  if (!JsonFileUtil::TryParseJson(text, document)) return {Json::Value(Json::objectValue), false};
  const bool usable = document.isObject() && (json::Member(document, "Device").isNull() ||
                                              json::Member(document, "Device").isArray());
  if (usable) return {std::move(document), false};
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  document["Device"] = Json::Value(Json::arrayValue);
  return {std::move(document), true};
}

ProfileDocumentForUpdate ReadProfileDocumentForUpdate(const std::filesystem::path& path) {
  ParsedProfileDocument parsed = ParseProfileDocumentForUpdate(JsonFileUtil().readjsonFile(path));
  if (!parsed.keepAside) return {std::move(parsed.document), {}};
  FileResult kept = JsonFileUtil::KeepAside(path);
  LogFileFailure(kept);
  return {std::move(parsed.document), std::move(kept)};
}

void PutDeviceEntry(Json::Value& document, std::int32_t index, const Json::Value& entry) {
  if (Json::Value* slot = json::ElementForWrite(json::MemberForWrite(document, "Device"), index)) {
    *slot = entry;
  }
}

}  // namespace norvane
