// The outer-planet record: decoding 235 bytes and evaluating the polynomials,
// in memory and through a data file that the library reads itself (kept
// across runs while the bytes under it change).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ephemeris/outer_files.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vemo::fuzz::TempFolder folder("fuzz-dac");

    // The record is the first 235 bytes, padded with blanks, in a buffer of
    // exactly that size so that any read past it is caught. Every further
    // eight bytes are one more date to evaluate at.
    std::vector<char> text(PV_RECORD_BYTES, ' ');
    std::copy_n(data, std::min<size_t>(size, PV_RECORD_BYTES), text.begin());
    pv_outer_record rec;
    const int status = pv_decode_record(text.data(), &rec);
    FUZZ_CHECK(status == 0 || status == PV_READ_FAILED);

    std::vector<double> dates = {2451545.0};
    if (status == 0) {
        FUZZ_CHECK(std::isfinite(rec.jd0));
        for (const auto& power : rec.coef) {
            for (double c : power) FUZZ_CHECK(std::isfinite(c));
        }
        // At JD0 the time argument is 0: each polynomial gives its constant term.
        double lat = 0, rv = 0;
        FUZZ_CHECK(pv_evaluate_record(&rec, rec.jd0, &lat, &rv) == rec.coef[0][0]);
        FUZZ_CHECK(lat == rec.coef[0][1] && rv == rec.coef[0][2]);
        dates.insert(dates.end(), {rec.jd0 + 913.0, rec.jd0 - 1826.25});
    }
    for (size_t at = PV_RECORD_BYTES; at + sizeof(double) <= size && dates.size() < 8; at += sizeof(double)) {
        double jd;
        std::memcpy(&jd, data + at, sizeof jd);
        dates.push_back(jd);
    }

    // The same bytes as record 0 of a file whose first year is 1600.
    const std::string path = folder.Write("fuzz.dac", std::string_view(text.data(), text.size()));
    pv_set_folder(folder.Folder().c_str());
    pv_outer_record fromFile;
    const int fileStatus = pv_read_record_file(path.c_str(), 0, &fromFile);
    FUZZ_CHECK(fileStatus == status);
    if (status == 0) {
        FUZZ_CHECK(fromFile.jd0 == rec.jd0);
        for (int p = 0; p < PV_POWERS; ++p) {
            for (int c = 0; c < PV_COORDINATES; ++c) FUZZ_CHECK(fromFile.coef[p][c] == rec.coef[p][c]);
        }
    }
    FUZZ_CHECK(pv_read_record_file(path.c_str(), 1, &fromFile) == PV_READ_FAILED);

    if (status != 0) {
        double result[3];
        FUZZ_CHECK(pv_outer_evaluate(2451545.0, 1603, 1600, PV_LIMIT_YEAR, "fuzz.dac", result) == PV_READ_FAILED);
        return 0;
    }
    // Requests for the years around JD0 are served (record 0 of a file that
    // starts two years before); a file starting a century later refuses the
    // record as misplaced.
    const double yearOfJd0 = std::floor((rec.jd0 - 1721425.5) / 365.2425) + 1;
    if (!(std::abs(yearOfJd0) < 1e8)) return 0;
    const int32_t first = static_cast<int32_t>(yearOfJd0) - 2;
    for (double jd : dates) {
        double lat = 0, rv = 0;
        const double lon = pv_evaluate_record(&rec, jd, &lat, &rv);
        const bool finite = std::isfinite(lon) && std::isfinite(lat) && std::isfinite(rv);
        double result[3] = {1, 2, 3};
        const int served = pv_outer_evaluate(jd, first + 4, first, first + 5, "fuzz.dac", result);
        if (finite) {
            FUZZ_CHECK(served == 0 && result[0] == lon && result[1] == lat && result[2] == rv);
        } else {
            FUZZ_CHECK(served == PV_NOT_SERVED && result[0] == 1 && result[1] == 2 && result[2] == 3);
            FUZZ_CHECK(pv_outer_position(jd, first, first, first + 5, "fuzz.dac", nullptr, nullptr) == served);
        }
    }
    double result[3];
    FUZZ_CHECK(pv_outer_evaluate(rec.jd0, first + 100, first + 100, first + 105, "fuzz.dac", result) == PV_READ_FAILED);
    FUZZ_CHECK(pv_outer_evaluate(rec.jd0, first + 5, first, first + 10, "fuzz.dac", result) == PV_READ_FAILED);
    FUZZ_CHECK(pv_outer_position(rec.jd0, first - 1, first, first + 5, "fuzz.dac", nullptr, nullptr) == PV_BEFORE_DATA);
    FUZZ_CHECK(pv_outer_position(rec.jd0, first + 5, first, first + 5, "fuzz.dac", nullptr, nullptr) == PV_AFTER_DATA);
    return 0;
}
