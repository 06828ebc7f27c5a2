// Writes the data file of a large shop for the benchmarks:
//   gen_large [--goods N] [--movements N] [--customers N] [--demands N] [--suppliers N]
//             [--keywords N] [--seed N] [--first-year Y] [--years N] [--force] <output.mdb>
#include "LargeShop.h"

#include "core/Session.h"

#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr, "usage: gen_large [--goods N] [--movements N] [--customers N] [--demands N]\n"
                         "                 [--suppliers N] [--keywords N] [--seed N] [--first-year Y]\n"
                         "                 [--years N] [--force] <output.mdb>\n");
    return 2;
}

bool readNumber(const char* text, long long& out) {
    char* end = nullptr;
    out = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && out >= 0;
}

} // namespace

int main(int argc, char** argv) {
    LargeShopSizes sizes;
    QString path;
    bool force = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--force") {
            force = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0) {
            if (!path.isEmpty()) return usage();
            path = QString::fromLocal8Bit(argv[i]);
            continue;
        }
        long long value = 0;
        if (i + 1 >= argc || !readNumber(argv[i + 1], value)) return usage();
        ++i;
        if (arg == "--goods")
            sizes.goods = int(value);
        else if (arg == "--movements")
            sizes.movements = int(value);
        else if (arg == "--customers")
            sizes.customers = int(value);
        else if (arg == "--demands")
            sizes.demands = int(value);
        else if (arg == "--suppliers")
            sizes.suppliers = int(value);
        else if (arg == "--keywords")
            sizes.keywords = int(value);
        else if (arg == "--seed")
            sizes.seed = std::uint64_t(value);
        else if (arg == "--first-year")
            sizes.firstYear = int(value);
        else if (arg == "--years" && value > 0)
            sizes.years = int(value);
        else
            return usage();
    }
    if (path.isEmpty()) return usage();
    if (QFileInfo::exists(path)) {
        if (!force) {
            std::fprintf(stderr, "%s exists already; remove it or pass --force\n", qPrintable(path));
            return 1;
        }
        QFile::remove(path);
    }
    const auto started = std::chrono::steady_clock::now();
    try {
        const LargeShopSummary s = GenerateLargeShop(path, sizes);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::printf("%s (seed %llu)\n", qPrintable(path), static_cast<unsigned long long>(sizes.seed));
        std::printf("  goods       %8d   stock value %.2f\n", s.goods, s.stockValue);
        std::printf("  movements   %8d   (%d purchases, %d sales, %s .. %s)\n", s.purchases + s.sales,
                    s.purchases, s.sales, qPrintable(s.firstDate), qPrintable(s.lastDate));
        std::printf("  customers   %8d\n  demands     %8d\n  suppliers   %8d\n  keywords    %8d\n",
                    s.customers, s.demands, s.suppliers, s.keywords);
        std::printf("  file size   %8.1f MB, written in %.1f s\n", QFileInfo(path).size() / 1048576.0,
                    seconds);
    } catch (const DbError& e) {
        std::fprintf(stderr, "gen_large: %s\n", qPrintable(e.text));
        return 1;
    }
    return 0;
}
