#include "device/protocol.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/device_session.h"
#include "link_rig.h"

namespace korvane::device {
namespace {

using platform::Transfer;
using platform::TransferKind;
using testing::dataReport;
using testing::LinkRig;
using testing::RecordingHost;

// A handle that records what reaches it and answers as told.
class ScriptedHandle : public HidHandle {
 public:
  std::optional<HidAttributes> attributes() override { return std::nullopt; }
  std::optional<HidReportLengths> reportLengths() override { return std::nullopt; }
  bool setFeature(std::span<const std::uint8_t> report) override {
    sent.emplace_back(report.begin(), report.end());
    return setOk;
  }
  std::optional<std::size_t> getFeature(std::span<std::uint8_t> report) override {
    ++gets;
    return getOk ? std::optional<std::size_t>(report.size()) : std::nullopt;
  }
  bool write(std::span<const std::uint8_t> report) override {
    sent.emplace_back(report.begin(), report.end());
    return true;
  }
  bool read(std::span<std::uint8_t>, int timeoutMs) override {
    readTimeouts.push_back(timeoutMs);
    return false;
  }

  std::vector<std::vector<std::uint8_t>> sent;
  int gets = 0;
  std::vector<int> readTimeouts;
  bool setOk = true;
  bool getOk = true;
};

settings::ModeBlock patternBlock(std::uint8_t seed) {
  settings::ModeBlock block{};
  for (std::size_t i = 0; i < block.size(); ++i) {
    block[i] = static_cast<std::uint8_t>(seed + i);
  }
  return block;
}

std::vector<std::uint8_t> commandBytes(std::uint8_t code, std::size_t length = 9) {
  std::vector<std::uint8_t> report(length, 0);
  report[1] = code;
  return report;
}

TEST(CommandReport, FollowsTheDeclaredFeatureLength) {
  struct Case {
    int featureLength;
    std::vector<std::uint8_t> expected;
  };
  const Case cases[] = {
      {9, {0x00, 0x85, 0, 0, 0, 0, 0, 0, 0}},
      {12, {0x00, 0x85, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {3, {0x00, 0x85, 0}},
      // No room for a code: nothing to send.
      {1, {}},
      {0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.featureLength);
    DeviceSession session;
    RecordingHost host;
    DeviceLink link(session, host);
    session.FeatureReportLength = c.featureLength;
    EXPECT_EQ(link.commandReport(0x85), c.expected);
  }
}

TEST(Transfers, InvalidHandleOrEmptyCommandMeansNoTransfer) {
  DeviceSession session;
  RecordingHost host;
  DeviceLink link(session, host);
  std::vector<std::uint8_t> command = commandBytes(0x01);
  DataReport report{};
  EXPECT_FALSE(link.SendCommand(nullptr, command));
  EXPECT_FALSE(link.SendCommandGetReply(nullptr, command));
  EXPECT_FALSE(link.WriteReport(nullptr, report));
  EXPECT_FALSE(link.ReadReport(nullptr, report));

  ScriptedHandle handle;
  std::vector<std::uint8_t> tooShort = {0x00};
  EXPECT_FALSE(link.SendCommand(&handle, tooShort));
  EXPECT_TRUE(handle.sent.empty());
  EXPECT_TRUE(host.calls.empty());
}

TEST(Transfers, PauseOnlyAfterSuccess) {
  DeviceSession session;
  RecordingHost host;
  DeviceLink link(session, host);
  ScriptedHandle handle;
  std::vector<std::uint8_t> command = commandBytes(0xC0);

  EXPECT_TRUE(link.SendCommand(&handle, command));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"sleep 10"}));

  host.calls.clear();
  handle.setOk = false;
  EXPECT_FALSE(link.SendCommand(&handle, command));
  EXPECT_FALSE(link.SendCommandGetReply(&handle, command));
  EXPECT_EQ(handle.gets, 0) << "no reply is read after a refused command";
  EXPECT_TRUE(host.calls.empty());

  // The reply is read 10 ms after the command, with no pause after it.
  handle.setOk = true;
  handle.getOk = false;
  EXPECT_FALSE(link.SendCommandGetReply(&handle, command));
  EXPECT_EQ(handle.gets, 1);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"sleep 10"}));

  host.calls.clear();
  DataReport report{};
  EXPECT_FALSE(link.ReadReport(&handle, report));
  EXPECT_EQ(handle.readTimeouts, (std::vector<int>{1000}));
  EXPECT_TRUE(host.calls.empty());
}

TEST(ReadFirmwareVersion, VersionByteBecomesText) {
  LinkRig rig;
  rig.mouse.setFirmwareVersion(12);
  rig.connect();
  rig.session.VersionText = "stale";
  EXPECT_TRUE(rig.link.ReadFirmwareVersion());
  EXPECT_EQ(rig.session.FirmwareVersion, 12);
  EXPECT_EQ(rig.session.VersionText, " Ver-12");
  EXPECT_FALSE(rig.session.TransferFailed);
  std::vector<std::uint8_t> reply = commandBytes(0xC0);
  reply[2] = 12;
  EXPECT_EQ(rig.mouse.transfers(),
            (std::vector<Transfer>{{TransferKind::SetFeature, commandBytes(0xC0)},
                                   {TransferKind::GetFeature, reply}}));
}

TEST(ReadFirmwareVersion, FailedReplyClearsTextAndMarksFailure) {
  LinkRig rig;
  rig.connect();
  rig.mouse.failTransfer(2);
  EXPECT_FALSE(rig.link.ReadFirmwareVersion());
  EXPECT_EQ(rig.session.VersionText, "");
  EXPECT_TRUE(rig.session.TransferFailed);
}

TEST(WriteMode, CommandThenDataThenBusyPause) {
  LinkRig rig;
  rig.connect();
  const settings::ModeBlock block = patternBlock(0x40);
  rig.link.WriteMode(4, block);
  EXPECT_EQ(rig.mouse.transfers(),
            (std::vector<Transfer>{{TransferKind::SetFeature, commandBytes(0x04)},
                                   {TransferKind::Write, dataReport(block)}}));
  EXPECT_EQ(rig.mouse.modes()[3], block);
  EXPECT_EQ(rig.host.calls, (std::vector<std::string>{"sleep 10", "sleep 10", "show", "wait 200"}));
  EXPECT_FALSE(rig.session.TransferFailed);
}

TEST(WriteMode, DataGoesEvenWhenTheCommandFailed) {
  LinkRig rig;
  rig.connect();
  rig.mouse.failTransfer(1);
  const settings::ModeBlock block = patternBlock(1);
  rig.link.WriteMode(2, block);
  EXPECT_TRUE(rig.session.TransferFailed);
  EXPECT_EQ(rig.mouse.transfers(),
            (std::vector<Transfer>{{TransferKind::Write, dataReport(block)}}));
  EXPECT_EQ(rig.mouse.modes()[1], settings::ModeBlock{}) << "data without its command is ignored";
}

TEST(WriteMode, WithoutHandlesOnlyTheBusyPauseRemains) {
  DeviceSession session;
  RecordingHost host;
  DeviceLink link(session, host);
  link.WriteMode(1, patternBlock(0));
  EXPECT_FALSE(session.TransferFailed);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"show", "wait 200"}));
}

TEST(WriteMacro, TwoHalvesSecondEvenAfterFirstFailed) {
  LinkRig rig;
  rig.connect();
  MacroBlockBytes block{};
  for (std::size_t i = 0; i < block.size(); ++i) {
    block[i] = static_cast<std::uint8_t>(0x80 + i);
  }
  rig.mouse.failTransfer(2);  // the first half's data report
  rig.link.WriteMacro(7, block);
  EXPECT_TRUE(rig.session.TransferFailed);
  const std::span<const std::uint8_t> second = std::span(block).subspan(64);
  EXPECT_EQ(rig.mouse.transfers(),
            (std::vector<Transfer>{{TransferKind::SetFeature, commandBytes(0x27)},
                                   {TransferKind::SetFeature, commandBytes(0x37)},
                                   {TransferKind::Write, dataReport(second)}}));
  EXPECT_TRUE(std::equal(second.begin(), second.end(), rig.mouse.macros()[7].begin() + 64));
  EXPECT_EQ(rig.host.count("wait 200"), 2);
}

TEST(ReadMode, ReplacesTheBlockOnlyWhenTheReportArrives) {
  LinkRig rig;
  rig.connect();
  const settings::ModeBlock onMouse = patternBlock(0x21);
  rig.mouse.setMode(2, onMouse);

  settings::ModeBlock block = patternBlock(0xF0);
  rig.link.ReadMode(2, block);
  EXPECT_EQ(block, onMouse);
  EXPECT_FALSE(rig.session.TransferFailed);
  EXPECT_EQ(rig.mouse.transfers(),
            (std::vector<Transfer>{{TransferKind::SetFeature, commandBytes(0x82)},
                                   {TransferKind::Read, dataReport(onMouse)}}));
  EXPECT_EQ(rig.host.count("wait 200"), 0);

  // Without the command the mouse sends nothing: the read times out.
  const settings::ModeBlock before = patternBlock(0xF0);
  block = before;
  rig.mouse.failTransfer(1);
  rig.link.ReadMode(3, block);
  EXPECT_TRUE(rig.session.TransferFailed);
  EXPECT_EQ(block, before);
}

}  // namespace
}  // namespace korvane::device
