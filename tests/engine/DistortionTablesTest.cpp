#include "engine/DistortionTables.h"
#include "engine/Distortion.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace Korvatune {
namespace {

struct TableCheck {
    const char* name;
    const DistortionTable DistortionTables::*table;
    std::array<float, 5> expected; // entries 0, 64, 128, 192, 255
};

const std::array<TableCheck, 15> kChecks = {{
    {"shape0", &DistortionTables::shape0, {0.0000f, 0.2928f, 0.5856f, 0.8280f, 1.0347f}},
    {"shape1", &DistortionTables::shape1, {0.0000f, 0.4850f, 0.9700f, 0.8487f, 0.7294f}},
    {"shape2", &DistortionTables::shape2, {0.0000f, 0.2500f, 0.5000f, 0.7500f, 0.9785f}},
    {"shape3", &DistortionTables::shape3, {-0.1777f, 0.3757f, 0.5000f, 0.6243f, 1.1561f}},
    {"shape4", &DistortionTables::shape4, {0.0000f, 0.7500f, 0.8750f, 0.9481f, 0.9993f}},
    {"shape5", &DistortionTables::shape5, {-0.2880f, 0.3022f, 0.7135f, 0.6962f, 0.9966f}},
    {"shape6", &DistortionTables::shape6, {0.0000f, 0.7803f, 1.0000f, 0.9268f, 0.9961f}},
    {"shape7", &DistortionTables::shape7, {0.5000f, 0.6250f, 0.7500f, 0.8750f, 0.9977f}},
    {"shape8", &DistortionTables::shape8, {0.2000f, 0.5305f, 0.4823f, 0.3725f, 0.9852f}},
    {"shape9", &DistortionTables::shape9, {0.0000f, 0.5309f, 0.7445f, 0.4691f, 0.6704f}},
    {"shape10", &DistortionTables::shape10, {0.0000f, 0.0000f, 1.0000f, 0.9192f, 0.6189f}},
    {"shape11", &DistortionTables::shape11, {0.2475f, 0.0553f, 0.3086f, 0.7269f, 1.0000f}},
    {"shape12", &DistortionTables::shape12, {0.4004f, 0.5228f, 0.2800f, 0.4948f, 1.0000f}},
    {"shape13", &DistortionTables::shape13, {0.0000f, 0.2942f, 0.4220f, 0.5731f, 0.6456f}},
    {"shape14", &DistortionTables::shape14, {0.0000f, 0.2513f, 0.5556f, -0.1510f, 0.7171f}},
}};

double roundedToFourDecimals(float value) {
    return std::round(static_cast<double>(value) * 10000.0) / 10000.0;
}

TEST(DistortionTablesTest, CheckEntriesMatchToFourDecimals) {
    const DistortionTables tables = buildDistortionTables();
    const std::array<int, 5> indexes = {0, 64, 128, 192, 255};
    for (const TableCheck& check : kChecks) {
        const DistortionTable& table = tables.*check.table;
        for (std::size_t n = 0; n < indexes.size(); ++n) {
            EXPECT_NEAR(roundedToFourDecimals(table[indexes[n]]), check.expected[n], 1e-6)
                << check.name << "[" << indexes[n] << "]";
        }
    }
}

TEST(DistortionTablesTest, EveryBuildIsIdentical) {
    const DistortionTables first = buildDistortionTables();
    const DistortionTables second = buildDistortionTables();
    for (const TableCheck& check : kChecks) {
        EXPECT_EQ(first.*check.table, second.*check.table) << check.name;
    }
}

// Every waveshaper reads the process's one set, which holds what a fresh build gives.
TEST(DistortionTablesTest, InstancesShareOneSet) {
    const Distortion a;
    const Distortion b;
    EXPECT_EQ(&a.tables(), &b.tables());
    const DistortionTables fresh = buildDistortionTables();
    for (const TableCheck& check : kChecks) {
        EXPECT_EQ(a.tables().*check.table, fresh.*check.table) << check.name;
    }
}

} // namespace
} // namespace Korvatune
