#include "device/discovery.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "device/device_session.h"
#include "device/hid_backend.h"

namespace korvane::device {
namespace {

// An interface as the system would present it.
struct FakeInterface {
  bool openable = true;
  std::optional<HidAttributes> attributes;
  std::optional<HidReportLengths> lengths;
};

class FakeHandle : public HidHandle {
 public:
  FakeHandle(int index, const FakeInterface& iface) : index(index), iface_(iface) {}
  std::optional<HidAttributes> attributes() override { return iface_.attributes; }
  std::optional<HidReportLengths> reportLengths() override { return iface_.lengths; }
  bool setFeature(std::span<const std::uint8_t>) override { return false; }
  std::optional<std::size_t> getFeature(std::span<std::uint8_t>) override { return std::nullopt; }
  bool write(std::span<const std::uint8_t>) override { return false; }
  bool read(std::span<std::uint8_t>, int) override { return false; }

  const int index;

 private:
  FakeInterface iface_;
};

class FakeBackend : public HidBackend {
 public:
  explicit FakeBackend(std::vector<FakeInterface> interfaces)
      : interfaces_(std::move(interfaces)) {}

  std::vector<std::string> listInterfacePaths() override {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < interfaces_.size(); ++i) {
      paths.push_back(std::to_string(i));
    }
    return paths;
  }
  std::unique_ptr<HidHandle> open(const std::string& path) override {
    const int index = std::stoi(path);
    const FakeInterface& iface = interfaces_.at(static_cast<std::size_t>(index));
    if (!iface.openable) {
      return nullptr;
    }
    return std::make_unique<FakeHandle>(index, iface);
  }

 private:
  std::vector<FakeInterface> interfaces_;
};

constexpr HidAttributes kMouse{0x4321, 0x6789};
constexpr HidAttributes kOther{0x046D, 0xC077};
constexpr HidReportLengths kConfig{.input = 65, .output = 65, .feature = 9};

FakeInterface iface(HidAttributes ids, HidReportLengths lengths) {
  return FakeInterface{true, ids, lengths};
}

// Which interface holds a role, -1 for none.
int indexOf(const std::shared_ptr<HidHandle>& handle) {
  return handle ? static_cast<const FakeHandle&>(*handle).index : -1;
}

TEST(CountHidInterfaces, CountsOnlyInterfacesThatOpen) {
  FakeBackend backend({iface(kMouse, kConfig), FakeInterface{false, kOther, kConfig},
                       iface(kOther, {}), FakeInterface{true, std::nullopt, std::nullopt}});
  EXPECT_EQ(CountHidInterfaces(backend), 3);
}

TEST(OpenDevice, AssignsRolesByReportLengths) {
  using Kind = ProtocolMismatch::Kind;
  struct Case {
    const char* name;
    std::vector<FakeInterface> interfaces;
    bool found;
    int input;
    int feature;
    int output;
    int featureLength;
    std::optional<ProtocolMismatch> mismatch;
  };
  const Case cases[] = {
      {"one interface serves every role",
       {iface(kMouse, {.input = 5}), iface(kMouse, kConfig)},
       true,
       1,
       1,
       1,
       9,
       std::nullopt},
      {"roles on separate interfaces",
       {iface(kMouse, {.input = 65}), iface(kMouse, {.feature = 9}), iface(kMouse, {.output = 65})},
       true,
       0,
       1,
       2,
       9,
       std::nullopt},
      {"the last qualifying interface keeps a role",
       {iface(kMouse, {.input = 65, .feature = 9}), iface(kMouse, {.input = 65, .feature = 17}),
        iface(kMouse, {.output = 65})},
       true,
       1,
       1,
       2,
       17,
       std::nullopt},
      {"no 65-byte input report is needed",
       {iface(kMouse, {.input = 64, .output = 65, .feature = 9})},
       true,
       -1,
       0,
       0,
       9,
       std::nullopt},
      {"an output report of another length does not fit",
       {iface(kMouse, {.input = 65, .output = 33, .feature = 9})},
       false,
       0,
       0,
       -1,
       9,
       ProtocolMismatch{Kind::NoDataOutputReport, 33, 65}},
      {"no output report does not fit",
       {iface(kMouse, {.input = 65, .feature = 9})},
       false,
       0,
       0,
       -1,
       9,
       ProtocolMismatch{Kind::NoDataOutputReport, 0, 65}},
      {"a feature report too short for a command does not fit",
       {iface(kMouse, {.input = 65, .output = 65, .feature = 1})},
       false,
       0,
       0,
       0,
       1,
       ProtocolMismatch{Kind::FeatureReportTooShort, 1, 9}},
      {"no feature report: data roles only, not found",
       {iface(kMouse, {.input = 65, .output = 65})},
       false,
       0,
       -1,
       0,
       0,
       ProtocolMismatch{Kind::NoFeatureReport, 0, 0}},
      {"other ids take no role", {iface(kOther, kConfig)}, false, -1, -1, -1, 0, std::nullopt},
      {"same vendor, other product",
       {iface({0x4321, 0x6780}, kConfig)},
       false,
       -1,
       -1,
       -1,
       0,
       std::nullopt},
      {"unreadable attributes or lengths take no role",
       {FakeInterface{true, std::nullopt, kConfig}, FakeInterface{true, kMouse, std::nullopt}},
       false,
       -1,
       -1,
       -1,
       0,
       std::nullopt},
      {"an interface that does not open is skipped",
       {FakeInterface{false, kMouse, kConfig}, iface(kOther, kConfig), iface(kMouse, kConfig)},
       true,
       2,
       2,
       2,
       9,
       std::nullopt},
      {"no interfaces", {}, false, -1, -1, -1, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeBackend backend(c.interfaces);
    DeviceSession session;
    EXPECT_EQ(OpenDevice(backend, session, kMouse.vendorId, kMouse.productId), c.found);
    EXPECT_EQ(indexOf(session.InputHandle), c.input);
    EXPECT_EQ(indexOf(session.FeatureHandle), c.feature);
    EXPECT_EQ(indexOf(session.OutputHandle), c.output);
    EXPECT_EQ(session.FeatureReportLength, c.featureLength);
    EXPECT_EQ(session.VendorId, c.found ? kMouse.vendorId : 0u);
    EXPECT_EQ(session.ProductId, c.found ? kMouse.productId : 0u);
    EXPECT_EQ(session.Mismatch, c.mismatch);
  }
}

TEST(OpenDevice, SharedRolesAreOneHandleClosedByReset) {
  FakeBackend backend({iface(kMouse, kConfig)});
  DeviceSession session;
  ASSERT_TRUE(OpenDevice(backend, session, kMouse.vendorId, kMouse.productId));
  EXPECT_EQ(session.FeatureHandle, session.InputHandle);
  EXPECT_EQ(session.FeatureHandle, session.OutputHandle);
  const std::weak_ptr<HidHandle> handle = session.FeatureHandle;
  session.reset();
  EXPECT_TRUE(handle.expired());
  EXPECT_EQ(session.InputHandle, nullptr);
  EXPECT_EQ(session.OutputHandle, nullptr);
}

TEST(VendorProductTable, StartUpFillsTwoSlots) {
  const VendorProductTable table = defaultVendorProductTable();
  EXPECT_EQ(table[0].vendorId, 0x4321u);
  EXPECT_EQ(table[0].productId, 0x6789u);
  EXPECT_EQ(table[1].vendorId, 0x04B4u);
  EXPECT_EQ(table[1].productId, 0x8F36u);
  for (std::size_t slot = 2; slot < table.size(); ++slot) {
    EXPECT_TRUE(table[slot].empty());
  }
  EXPECT_TRUE((VendorProductSlot{0x4321, 0}).empty());
  EXPECT_TRUE((VendorProductSlot{0, 0x6789}).empty());
}

}  // namespace
}  // namespace korvane::device
