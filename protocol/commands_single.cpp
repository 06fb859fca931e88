// The single-frame commands.
#include <algorithm>
#include <chrono>
#include <thread>

#include "protocol/command_codes.h"
#include "protocol/commands.h"
#include "protocol/frame_exchange.h"

namespace norvane::protocol {

using detail::EmptyRequest;
using detail::ExchangeCommandFrame;

int CmdBegin(CommandChannel& channel) {
  CommandFrame reply;
  return ExchangeCommandFrame(channel, EmptyRequest(ToByte(CommandCode::kBegin)), reply);
}

int CmdEnd(CommandChannel& channel, int /*unused*/) {
  // The device needs a moment after the last write of a series before it takes the end.
  std::this_thread::sleep_for(channel.PauseBeforeEnd());
  CommandFrame reply;
  return ExchangeCommandFrame(channel, EmptyRequest(ToByte(CommandCode::kEnd)), reply);
}

int CmdTakeLightControl(CommandChannel& channel) {
  CommandFrame reply;
  return ExchangeCommandFrame(channel, EmptyRequest(ToByte(CommandCode::kTakeLightControl)), reply);
}

int CmdWriteKeyLight(CommandChannel& channel, std::span<const uint8_t> source, int record_index) {
  // One frame holds 56 bytes: a longer mask would be cut silently, so it is refused instead.
  if (source.size() > kSingleFrameMax || record_index < 0) return kResultNotWritten;
  const size_t offset = static_cast<size_t>(record_index) * 3;
  if (!detail::FitsOffsetRange(offset, source.size())) return kResultNotWritten;
  const CommandFrame request =
      CommandFrame::Request(ToByte(CommandCode::kWriteKeyLight), static_cast<uint8_t>(source.size()),
                            static_cast<uint16_t>(offset), source);
  CommandFrame reply;
  return ExchangeCommandFrame(channel, request, reply);
}

int CmdReadStatus(CommandChannel& channel, std::span<uint8_t> destination, uint16_t offset) {
  // A reply carries 56 payload bytes at most; more would read past the frame.
  if (destination.size() > kSingleFrameMax) return kResultNotWritten;
  const CommandFrame request = CommandFrame::Request(ToByte(CommandCode::kReadStatus),
                                                     static_cast<uint8_t>(destination.size()), offset);
  CommandFrame reply;
  const int result = ExchangeCommandFrame(channel, request, reply);
  if (result != kResultOk) return result;
  std::copy_n(reply.Payload().begin(), destination.size(), destination.begin());
  return kResultOk;
}

WirelessLinkReply ExchangeWirelessLinkQuery(CommandChannel& channel) {
  CommandFrame reply;
  WirelessLinkReply answer;
  answer.result = ExchangeCommandFrame(channel, EmptyRequest(ToByte(CommandCode::kQueryWirelessLink)), reply);
  // The receiver answers 0xFF in the first payload byte while the device behind it is reachable; the payload
  // of a refusal means nothing.
  answer.reachable = answer.result == kResultOk && reply.Payload()[0] == 0xFF;
  return answer;
}

int CmdQueryWirelessLink(CommandChannel& channel) {
  if (!channel.IsWireless()) return kResultOk;
  return ExchangeWirelessLinkQuery(channel).reachable ? 1 : 0;
}

}  // namespace norvane::protocol
