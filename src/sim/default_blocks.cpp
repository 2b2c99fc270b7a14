#include "sim/default_blocks.h"

#include <array>

namespace qelvo::sim {
namespace {

// Every shown setting holds a value inside the limits of each table that shows it, so most
// of the block is the same for all six tables.
constexpr std::array kCommonSettings = std::to_array<DefaultSetting>({
    {20, 1, 0x43},  // Startup H-Pedel, Brake H-Pedel, Three Gears Switch
    {21, 1, 0x01},  // Foot Switch
    {22, 1, 5},     // Startup Wait Time
    {29, 2, 400},   // Hall Galvanometer Rate
    {31, 2, 2048},  // PhaseCurr Max AD
    {33, 2, 2048},  // Hall phase A zero
    {35, 2, 2050},  // Hall phase B zero
    {37, 1, 100},   // Current Percent
    {38, 1, 80},    // Battry Limit
    {39, 1, 50},    // Battry Weak
    {40, 2, 2040},  // internal phase A zero
    {42, 2, 2045},  // internal phase B zero
    {44, 2, 2052},  // internal phase C zero
    {56, 1, 85},    // Identification Angle: normal operation
    // Controller board and heat sink temperature derating.
    {57, 1, 95},
    {58, 1, 85},
    {59, 1, 80},
    {60, 1, 50},
    {61, 1, 10},
    {62, 1, 80},
    {63, 1, 5},
    {64, 1, 60},
    {65, 1, 10},
    {66, 1, 40},
    {67, 1, 25},
    {68, 1, 70},
    {69, 1, 25},
    {70, 1, 100},
    {71, 1, 90},
    {72, 1, 50},
    {73, 1, 85},
    {74, 1, 30},     // Sleep_Time
    {92, 1, 5},      // TPS Low Err
    {93, 1, 95},     // TPS High Err
    {94, 1, 50},     // Acc Speed
    {95, 1, 1},      // TPS Type: 0-5 V
    {96, 1, 20},     // TPS Dead Low
    {97, 1, 80},     // TPS Dead High
    {98, 1, 50},     // TPS Fwd MAP
    {99, 1, 50},     // TPS Rev MAP
    {100, 1, 1},     // Brake Type: 0-5 V
    {101, 1, 20},    // Brake Dead Low
    {102, 1, 80},    // Brake Dead High
    {103, 1, 50},    // brake map
    {104, 1, 0},     // control mode
    {105, 2, 300},   // Max Output Fre
    {107, 2, 4000},  // Max Speed
    {109, 1, 100},   // Max Fwd Speed %
    {110, 1, 60},    // Max Rev Speed %
    {111, 1, 60},    // MidSpeed Forw Speed %
    {112, 1, 40},    // MidSpeed Rev Speed %
    {113, 1, 30},    // LowSpeed Forw Speed
    {114, 1, 20},    // LowSpeed Rev Speed
    {126, 1, 0},     // Three Speed: normal
    {127, 1, 10},    // PWM frequency, kHz
    // Current and voltage loop gains and limits.
    {128, 2, 1200},
    {130, 2, 200},
    {132, 2, 40000},
    {134, 2, 1200},
    {136, 2, 200},
    {138, 2, 23170},
    {140, 2, 100},
    {142, 2, 10},
    {144, 2, 200},
    {146, 2, 3000},
    {148, 2, 2500},
    {150, 2, 500},
    {152, 2, 50},
    {154, 2, 500},
    // Ramp times of the speed mode.
    {162, 1, 20},
    {163, 1, 20},
    {164, 1, 20},
    {165, 1, 20},
    {166, 1, 20},
    {167, 1, 20},
    {168, 1, 20},
    {169, 1, 20},
    {226, 1, 20},    // BRK_AD Brk %
    {227, 1, 10},    // Anti-theft Current
    {228, 2, 200},   // Brk_Speed Limit
    {230, 1, 10},    // RLS_TPS Brk %
    {231, 1, 10},    // NTL Brk %
    {232, 1, 50},    // emergency reverse current %
    {233, 1, 20},    // emergency reverse time
    {234, 1, 30},    // emergency reverse speed %
    {239, 1, 10},    // Accel Time, 1 s
    {240, 1, 10},    // Accel Rls Time
    {241, 1, 10},    // Brake Time
    {242, 1, 10},    // Brake Rls Time
    {243, 1, 20},    // BRK_SW Brk %
    {244, 1, 20},    // Change Dir Brk%
    {245, 1, 30},    // Compensation Per%
    {246, 2, 1500},  // IVT BRK Max MotorRPM
    {248, 2, 300},   // IVT BRK Min MotorRPM
    {250, 2, 1000},  // Torque Speed Kp
    {252, 2, 100},   // Torque Speed Ki
    {254, 2, 1000},  // Speed Err Limit
    // Motor data.
    {256, 2, 36},     // nominal voltage
    {258, 2, 150},    // Motor Nominal Curr
    {260, 2, 100},    // nominal frequency
    {262, 2, 3000},   // nominal speed
    {264, 2, 200},    // maximum frequency
    {266, 2, 6000},   // maximum speed
    {268, 1, 8},      // Motor Poles
    {269, 1, 2},      // Speed Sensor Type: Hall
    {270, 2, 64},     // encoder lines
    {272, 1, 2},      // Resolver Poles
    {284, 4, 25},     // stator resistance
    {288, 4, 20},     // rotor resistance
    {292, 4, 100},    // leakage inductance
    {296, 4, 2000},   // stator inductance
    {300, 4, 5000},   // nominal rotor time constant
    {304, 4, 8000},   // maximum rotor time constant
    {308, 2, 40},     // no-load current
    {310, 2, 20},     // Min Excitation Current
    {312, 2, 100},    // start-up slip limit
    {314, 2, 150},    // boost slip limit
    {316, 2, 120},    // nominal slip limit
    {318, 1, 1},      // Motor Temp Sersor: KTY84
    {319, 1, 130},    // High Temp Cut
    {320, 1, 110},    // Resume
    {321, 1, 100},    // High Temp Str
    {322, 1, 50},     // High Temp Week %
    {332, 2, 512},    // Line Hall Zero
    {334, 2, 400},    // Line Hall amplitude
    {336, 2, 950},    // Line Hall High Err
    {338, 2, 70},     // Line Hall Low Err
    {340, 1, 0},      // Swap Motor Phase: no
    {341, 2, 12000},  // Resolver init angle
    // Hall values at 0°, 60°, ... 300°, then the edges of Hall A.
    {343, 1, 1},
    {344, 1, 3},
    {345, 1, 2},
    {346, 1, 6},
    {347, 1, 4},
    {348, 1, 5},
    {349, 1, 1},
    {350, 1, 4},
    {351, 1, 5},
    {352, 1, 2},
    // J1939 name.
    {498, 1, 239},  // J CAN Address
    {499, 1, 1},
    {504, 1, 129},
    {507, 2, 291},
    {509, 3, 1},
});

// In the older tables of the first family and in the second family the brake high dead zone
// ranges 120..200.
constexpr std::array kOlderFirstFamilySettings = std::to_array<DefaultSetting>({
    {102, 1, 150},
});

constexpr std::array kSecondFamilySettings = std::to_array<DefaultSetting>({
    {102, 1, 150},
    {170, 2, 1000},  // PH Mode Kp
    {172, 2, 200},   // PH Mode Kd
    {174, 2, 500},   // PH Mode Errmax
    {176, 2, 50},    // PH Mode SlipMax
    {273, 1, 1},     // Encoder Division
});

}  // namespace

std::span<const DefaultSetting> CommonDefaultSettings() {
  return kCommonSettings;
}

std::span<const DefaultSetting> DefaultSettingDifferences(int tableId) {
  switch (tableId) {
    case 140:
    case 153:
      return kOlderFirstFamilySettings;
    case 158:
    case 159:
      return kSecondFamilySettings;
    default:
      return {};
  }
}

}  // namespace qelvo::sim
