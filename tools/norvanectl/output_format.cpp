#include "tools/norvanectl/output_format.h"

#include <json/json.h>

#include <cstdio>

#include "platform/trace.h"
#include "tools/norvanectl/device_info.h"

namespace norvane::cli {
namespace {

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*x", digits, value);
  return text;
}

std::string RoleName(hid::InterfaceRole role) {
  return role == hid::InterfaceRole::kCommand ? "command" : "event";
}

std::string LinkName(protocol::LinkType link) {
  return link == protocol::LinkType::kReceiver ? "receiver" : "wired";
}

std::string WriteJson(const Json::Value& value) {
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "  ";
  return Json::writeString(builder, value) + "\n";
}

}  // namespace

std::string FormatListText(const ScanResult& scan) {
  std::string text;
  for (const SeenInterface& seen : scan.interfaces) {
    const hid::InterfaceProbe& p = seen.probe;
    text += seen.path + "\n";
    text += "  vendor " + Hex(p.vendor_id, 4) + "  product " + Hex(p.product_id, 4) + "  interface " +
            std::to_string(p.interface_number) + "  collection " + std::to_string(p.collection_number);
    if (seen.probed) {
      text += "  usage page " + Hex(p.usage_page, 4) + "  usage " + Hex(p.usage, 4);
    } else {
      text += "  usage unknown (" + DescribeOpenError(seen.open_error) + ")";
    }
    text += "\n  table row: ";
    if (const hid::InterfaceEntry* row = seen.Row()) {
      text += std::to_string(*seen.table_row) + " (" + std::string(hid::DeviceKindName(row->kind)) +
              ", kind " + std::to_string(static_cast<int>(row->kind)) + ", " + RoleName(row->role) +
              " interface)\n";
    } else {
      text += "none\n";
    }
  }
  return text;
}

std::string FormatListJson(const ScanResult& scan) {
  Json::Value interfaces(Json::arrayValue);
  for (const SeenInterface& seen : scan.interfaces) {
    const hid::InterfaceProbe& p = seen.probe;
    Json::Value item;
    item["path"] = seen.path;
    item["vendor_id"] = p.vendor_id;
    item["product_id"] = p.product_id;
    item["interface_number"] = p.interface_number;
    item["collection_number"] = p.collection_number;
    if (seen.probed) {
      item["usage_page"] = p.usage_page;
      item["usage"] = p.usage;
    } else {
      item["usage_page"] = Json::nullValue;
      item["usage"] = Json::nullValue;
      item["open_error"] = DescribeOpenError(seen.open_error);
    }
    if (const hid::InterfaceEntry* row = seen.Row()) {
      item["table_row"] = static_cast<Json::UInt>(*seen.table_row);
      item["kind"] = static_cast<int>(row->kind);
      item["kind_name"] = std::string(hid::DeviceKindName(row->kind));
      item["role"] = RoleName(row->role);
    } else {
      item["table_row"] = Json::nullValue;
    }
    interfaces.append(item);
  }
  Json::Value root;
  root["interfaces"] = interfaces;
  return WriteJson(root);
}

std::string FormatInfoText(const std::vector<InfoOutcome>& outcomes) {
  std::string text;
  for (const InfoOutcome& outcome : outcomes) {
    if (!outcome.ok) continue;
    text += outcome.path + "\n";
    text += "  " + std::string(hid::DeviceKindName(outcome.kind)) + " (table row " +
            std::to_string(outcome.table_row) + "), " + LinkName(outcome.link) + " link\n";
    text += "  information block: " + HexBytes(outcome.block) + "\n";
    for (const InfoField& field : DecodeDeviceInfo(outcome.block, outcome.kind)) {
      text += "  " + field.label + ": " + std::to_string(field.value) + "\n";
    }
  }
  return text;
}

std::string FormatInfoJson(const std::vector<InfoOutcome>& outcomes) {
  Json::Value devices(Json::arrayValue);
  for (const InfoOutcome& outcome : outcomes) {
    Json::Value item;
    item["path"] = outcome.path;
    item["table_row"] = static_cast<Json::UInt>(outcome.table_row);
    item["kind"] = static_cast<int>(outcome.kind);
    item["kind_name"] = std::string(hid::DeviceKindName(outcome.kind));
    item["link"] = LinkName(outcome.link);
    item["ok"] = outcome.ok;
    if (outcome.ok) {
      item["information_block"] = HexBytes(outcome.block);
      Json::Value fields(Json::objectValue);
      for (const InfoField& field : DecodeDeviceInfo(outcome.block, outcome.kind))
        fields[field.key] = field.value;
      item["fields"] = fields;
    } else {
      item["error"] = outcome.error;
    }
    devices.append(item);
  }
  Json::Value root;
  root["devices"] = devices;
  return WriteJson(root);
}

}  // namespace norvane::cli
