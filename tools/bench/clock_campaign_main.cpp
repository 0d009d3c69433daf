// The clock campaign as a program: `clock_campaign [--seed N] [--days D]`.
// Prints what it ran and the breaches of each rule; exits 1 if there were any.
#include "core/clock_campaign.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <string>

int main(int argc, char** argv) {
    std::uint64_t seed = std::random_device{}();
    double days = 3000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seed") == 0) {
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (std::strcmp(argv[i], "--days") == 0) {
            days = std::strtod(argv[i + 1], nullptr);
        } else {
            std::cerr << "usage: clock_campaign [--seed N] [--days D]\n";
            return 2;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    const pausora::sim::CampaignReport report = pausora::sim::RunClockCampaign(seed, days);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    pausora::sim::PrintReport(std::cout, report);
    std::cout << "ran in " << took.count() << " s\n";
    return report.TotalViolations() == 0 ? 0 : 1;
}
