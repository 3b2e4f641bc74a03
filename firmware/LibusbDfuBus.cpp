#include "firmware/LibusbDfuBus.h"

#include <libusb.h>

#include <array>

#include "base/Format.h"

namespace orx {

namespace {

constexpr uint8_t kDfuClass = 0xFE;
constexpr uint8_t kDfuSubclass = 0x01;
constexpr uint8_t kDfuFunctionalType = 0x21;
// bmRequestType of class requests to an interface.
constexpr uint8_t kRequestOut = 0x21;
constexpr uint8_t kRequestIn = 0xA1;

UsbResult fromLibusb(int rc) {
  switch (rc) {
    case LIBUSB_SUCCESS: return UsbResult::Ok;
    case LIBUSB_ERROR_NOT_FOUND: return UsbResult::NotFound;
    case LIBUSB_ERROR_ACCESS: return UsbResult::Access;
    case LIBUSB_ERROR_BUSY: return UsbResult::Busy;
    case LIBUSB_ERROR_TIMEOUT: return UsbResult::Timeout;
    case LIBUSB_ERROR_PIPE: return UsbResult::Stall;
    case LIBUSB_ERROR_NO_DEVICE: return UsbResult::Gone;
    default: return UsbResult::Error;
  }
}

// "USB:<bus>-<port>.<port>...:<interface>": where the device sits, which
// stays the same while it is plugged, unlike its address on a re-enumeration.
std::string pathOf(libusb_device* device, uint8_t interfaceNumber) {
  std::array<uint8_t, 8> ports{};
  const int n = libusb_get_port_numbers(device, ports.data(), int(ports.size()));
  std::string path = strprintf("USB:%u-", unsigned(libusb_get_bus_number(device)));
  for (int i = 0; i < n; ++i) path += strprintf(i == 0 ? "%u" : ".%u", unsigned(ports[size_t(i)]));
  if (n <= 0) path += strprintf("a%u", unsigned(libusb_get_device_address(device)));
  return path + strprintf(":%u", unsigned(interfaceNumber));
}

std::string stringDescriptor(libusb_device_handle* handle, uint8_t index) {
  if (index == 0) return {};
  std::array<unsigned char, 256> text{};
  const int n = libusb_get_string_descriptor_ascii(handle, index, text.data(), int(text.size()));
  return n > 0 ? std::string(reinterpret_cast<const char*>(text.data()), size_t(n)) : std::string();
}

uint16_t transferSizeOf(const libusb_interface_descriptor& alt) {
  const unsigned char* extra = alt.extra;
  int left = alt.extra_length;
  while (extra != nullptr && left >= 2) {
    const int length = extra[0];
    if (length < 2 || length > left) break;
    if (extra[1] == kDfuFunctionalType && length >= 7) return uint16_t(extra[5] | extra[6] << 8);
    extra += length;
    left -= length;
  }
  return 0;
}

class LibusbDfuHandle : public DfuDeviceHandle {
 public:
  LibusbDfuHandle(libusb_device_handle* handle, uint8_t interfaceNumber)
      : handle_(handle), interface_(interfaceNumber) {}
  ~LibusbDfuHandle() override {
    libusb_release_interface(handle_, interface_);
    libusb_close(handle_);
  }

  UsbResult setAlternate(uint8_t alternate) override {
    return fromLibusb(libusb_set_interface_alt_setting(handle_, interface_, alternate));
  }

  std::vector<std::string> alternateNames() override {
    std::vector<std::string> names;
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(libusb_get_device(handle_), &config) != LIBUSB_SUCCESS) return names;
    for (int i = 0; i < config->bNumInterfaces; ++i) {
      const libusb_interface& itf = config->interface[i];
      for (int a = 0; a < itf.num_altsetting; ++a) {
        const libusb_interface_descriptor& alt = itf.altsetting[a];
        if (alt.bInterfaceNumber != interface_) continue;
        if (names.size() <= alt.bAlternateSetting) names.resize(size_t(alt.bAlternateSetting) + 1);
        names[alt.bAlternateSetting] = stringDescriptor(handle_, alt.iInterface);
      }
    }
    libusb_free_config_descriptor(config);
    return names;
  }

  UsbResult controlOut(DfuRequest request, uint16_t value, std::span<const uint8_t> data, int timeoutMs) override {
    const int rc = libusb_control_transfer(
        handle_, kRequestOut, uint8_t(request), value,
        interface_, const_cast<unsigned char*>(data.data()), uint16_t(data.size()), unsigned(timeoutMs));
    if (rc < 0) return fromLibusb(rc);
    return size_t(rc) == data.size() ? UsbResult::Ok : UsbResult::Error;
  }

  UsbResult controlIn(DfuRequest request, uint16_t value, std::span<uint8_t> data, size_t& received,
                      int timeoutMs) override {
    received = 0;
    const int rc = libusb_control_transfer(
        handle_, kRequestIn, uint8_t(request), value,
        interface_, data.data(), uint16_t(data.size()), unsigned(timeoutMs));
    if (rc < 0) return fromLibusb(rc);
    received = size_t(rc);
    return UsbResult::Ok;
  }

 private:
  libusb_device_handle* handle_;
  uint8_t interface_;
};

// Calls `visit(device, descriptor, alt)` for every DFU-class alternate 0 of
// every present device; stops when it returns true.
template <class Visit>
void forEachDfuInterface(libusb_context* context, Visit visit) {
  libusb_device** list = nullptr;
  const ssize_t count = libusb_get_device_list(context, &list);
  for (ssize_t d = 0; d < count; ++d) {
    libusb_device* device = list[d];
    libusb_device_descriptor desc{};
    if (libusb_get_device_descriptor(device, &desc) != LIBUSB_SUCCESS) continue;
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS) continue;
    bool stop = false;
    for (int i = 0; i < config->bNumInterfaces && !stop; ++i) {
      const libusb_interface& itf = config->interface[i];
      if (itf.num_altsetting < 1) continue;
      const libusb_interface_descriptor& alt = itf.altsetting[0];
      if (alt.bInterfaceClass == kDfuClass && alt.bInterfaceSubClass == kDfuSubclass) stop = visit(device, desc, alt);
    }
    libusb_free_config_descriptor(config);
    if (stop) break;
  }
  if (list != nullptr) libusb_free_device_list(list, 1);
}

}  // namespace

LibusbDfuBus::LibusbDfuBus() {
  if (libusb_init(&context_) != LIBUSB_SUCCESS) context_ = nullptr;
}

LibusbDfuBus::~LibusbDfuBus() {
  if (context_ != nullptr) libusb_exit(context_);
}

std::vector<DfuDeviceInfo> LibusbDfuBus::listDfuDevices() {
  std::vector<DfuDeviceInfo> found;
  if (context_ == nullptr) return found;
  forEachDfuInterface(context_, [&](libusb_device* device, const libusb_device_descriptor& desc,
                                    const libusb_interface_descriptor& alt) {
    DfuDeviceInfo info;
    info.path = pathOf(device, alt.bInterfaceNumber);
    info.vendorId = desc.idVendor;
    info.productId = desc.idProduct;
    info.interfaceNumber = alt.bInterfaceNumber;
    info.transferSize = transferSizeOf(alt);
    info.node = strprintf("/dev/bus/usb/%03u/%03u", unsigned(libusb_get_bus_number(device)),
                          unsigned(libusb_get_device_address(device)));
    // The product string needs the device opened; without permission it stays
    // unnamed, and the reason is kept so the user hears of it.
    libusb_device_handle* handle = nullptr;
    const int rc = libusb_open(device, &handle);
    info.openResult = fromLibusb(rc);
    if (rc == LIBUSB_SUCCESS) {
      info.description = stringDescriptor(handle, desc.iProduct);
      libusb_close(handle);
    }
    found.push_back(std::move(info));
    return false;
  });
  return found;
}

std::unique_ptr<DfuDeviceHandle> LibusbDfuBus::open(const std::string& path, UsbResult& result) {
  result = UsbResult::NotFound;
  if (context_ == nullptr) {
    result = UsbResult::Error;
    return nullptr;
  }
  std::unique_ptr<DfuDeviceHandle> opened;
  forEachDfuInterface(context_, [&](libusb_device* device, const libusb_device_descriptor&,
                                    const libusb_interface_descriptor& alt) {
    if (pathOf(device, alt.bInterfaceNumber) != path) return false;
    libusb_device_handle* handle = nullptr;
    int rc = libusb_open(device, &handle);
    if (rc != LIBUSB_SUCCESS) {
      result = fromLibusb(rc);
      return true;
    }
    libusb_set_auto_detach_kernel_driver(handle, 1);
    rc = libusb_claim_interface(handle, alt.bInterfaceNumber);
    if (rc != LIBUSB_SUCCESS) {
      result = fromLibusb(rc);
      libusb_close(handle);
      return true;
    }
    result = UsbResult::Ok;
    opened = std::make_unique<LibusbDfuHandle>(handle, alt.bInterfaceNumber);
    return true;
  });
  return opened;
}

}  // namespace orx
