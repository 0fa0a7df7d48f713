// The generated interrupt-driven driver's ring buffers, compiled for the
// host (tests/codegen/driver_host stands in for the registers and SDCC's
// keywords): bytes come out in order across the wrap-around, a full receive
// buffer drops and counts, an empty one reads -1, and sending starts at once
// on an idle line and continues from the interrupt routine until the queue
// is empty. One driver has byte indices (16-byte buffers), the other word
// indices (xdata buffers of 512 and 256 bytes).

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <vector>

extern "C" {
extern unsigned char S2CON, S2BUF, S4CON, S4BUF;
void uart2_init(void);
unsigned char uart2_write(unsigned char c);
int uart2_read(void);
unsigned char uart2_available(void);
unsigned char uart2_overruns(void);
void uart2_isr(void);
void uart4_init(void);
unsigned char uart4_write(unsigned char c);
int uart4_read(void);
unsigned int uart4_available(void);
unsigned char uart4_overruns(void);
void uart4_isr(void);
}

namespace {

struct Driver {
  const char* name;
  unsigned rxSize;
  unsigned txSize;
  unsigned char* control;
  unsigned char* data;
  void (*init)();
  unsigned char (*write)(unsigned char);
  int (*read)();
  unsigned (*available)();
  unsigned char (*overruns)();
  void (*isr)();
};

constexpr std::array<Driver, 2> kDrivers = {{
    {"bytes", 16, 16, &S2CON, &S2BUF, uart2_init, uart2_write, uart2_read, [] { return unsigned{uart2_available()}; },
     uart2_overruns, uart2_isr},
    {"words", 512, 256, &S4CON, &S4BUF, uart4_init, uart4_write, uart4_read, [] { return uart4_available(); },
     uart4_overruns, uart4_isr},
}};

void PrintTo(const Driver& driver, std::ostream* out) { *out << driver.name; }

constexpr unsigned char kReceived = 0x01;
constexpr unsigned char kSent = 0x02;

class DriverRing : public ::testing::TestWithParam<Driver> {
 protected:
  void SetUp() override { GetParam().init(); }

  // A byte arriving: the UART sets its receive flag and the interrupt runs.
  static void Arrive(unsigned char byte) {
    const Driver& driver = GetParam();
    *driver.data = byte;
    *driver.control |= kReceived;
    driver.isr();
  }

  // A frame ending: the send flag and the interrupt; returns the byte the
  // routine wrote next, or -1 when it wrote none.
  static int FrameEnds() {
    const Driver& driver = GetParam();
    *driver.data = 0;
    *driver.control |= kSent;
    driver.isr();
    EXPECT_EQ(*driver.control & kSent, 0) << "the routine clears the send flag";
    return *driver.data == 0 ? -1 : *driver.data;
  }
};

TEST_P(DriverRing, BytesComeOutInOrderAcrossTheWrapAround) {
  const Driver& driver = GetParam();
  const unsigned chunk = driver.rxSize - 3;  // so that the indices wrap inside a chunk
  unsigned next = 0;
  unsigned expected = 0;
  for (int round = 0; round < 4; ++round) {
    for (unsigned i = 0; i < chunk; ++i) {
      Arrive(static_cast<unsigned char>(next++));
      EXPECT_EQ(*driver.control & kReceived, 0) << "the routine clears the receive flag";
    }
    EXPECT_EQ(driver.available(), chunk);
    for (unsigned i = 0; i < chunk; ++i) {
      EXPECT_EQ(driver.read(), static_cast<int>(expected++ & 0xFFU));
    }
  }
  EXPECT_EQ(driver.read(), -1);
  EXPECT_EQ(driver.overruns(), 0);
}

TEST_P(DriverRing, AFullBufferKeepsItsBytesAndCountsTheDropped) {
  const Driver& driver = GetParam();
  for (unsigned i = 0; i < driver.rxSize + 5; ++i) {
    Arrive(static_cast<unsigned char>(i));
  }
  EXPECT_EQ(driver.available(), driver.rxSize);
  EXPECT_EQ(driver.overruns(), 5);
  for (unsigned i = 0; i < driver.rxSize; ++i) {
    ASSERT_EQ(driver.read(), static_cast<int>(i & 0xFFU));
  }
  EXPECT_EQ(driver.read(), -1);
  EXPECT_EQ(driver.available(), 0U);
}

TEST_P(DriverRing, OverrunsStopAt255) {
  const Driver& driver = GetParam();
  for (unsigned i = 0; i < driver.rxSize + 300; ++i) {
    Arrive(1);
  }
  EXPECT_EQ(driver.overruns(), 255);
}

TEST_P(DriverRing, SendingStartsOnAnIdleLineAndTheRoutineSendsTheRest) {
  const Driver& driver = GetParam();
  // The first byte goes to the data register at once; the buffer then takes
  // txSize more, and refuses the next.
  ASSERT_EQ(driver.write(1), 1);
  EXPECT_EQ(*driver.data, 1);
  for (unsigned i = 0; i < driver.txSize; ++i) {
    ASSERT_EQ(driver.write(static_cast<unsigned char>(i % 250 + 2)), 1) << i;
  }
  EXPECT_EQ(driver.write(0xEE), 0);
  std::vector<int> sent;
  for (int byte = FrameEnds(); byte != -1; byte = FrameEnds()) {
    sent.push_back(byte);
  }
  ASSERT_EQ(sent.size(), driver.txSize);
  for (unsigned i = 0; i < driver.txSize; ++i) {
    EXPECT_EQ(sent[i], static_cast<int>(i % 250 + 2));
  }
  // The line is idle again: the next byte goes out at once.
  ASSERT_EQ(driver.write(0x5A), 1);
  EXPECT_EQ(*driver.data, 0x5A);
}

INSTANTIATE_TEST_SUITE_P(Drivers, DriverRing, ::testing::ValuesIn(kDrivers),
                         [](const ::testing::TestParamInfo<Driver>& param) { return param.param.name; });

}  // namespace
