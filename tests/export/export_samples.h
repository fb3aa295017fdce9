// Records, scales and small parsers shared by the export tests.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "export/export_file.h"
#include "export/export_scale.h"
#include "measure/record_lists.h"

namespace lensora::test {

inline MeasureRecord Record(int kind, std::initializer_list<PixelPoint> points,
                            std::initializer_list<std::string> labels) {
    MeasureRecord r = NewRecord();
    r.kind = kind;
    r.points = points;
    r.labels = labels;
    return r;
}

inline void Add(RecordList& list, MeasureRecord r) {
    AppendRecord(list, std::move(r));
}

// Millimetres with rate 1 and the 63.829787234 camera: 0.63829787234 mm per pixel.
inline ExportScale MillimetreScale(double pictureHeight) {
    ExportScale s;
    s.unitsPerPixel = 63.829787234 * 0.001 * 10.0;
    s.unit = "mm";
    s.decimals = 3;
    s.pictureHeight = pictureHeight;
    return s;
}

// A disk on which nothing more fits.
inline FileSeam FullDisk() {
    return FileSeam{[](int, const void*, std::size_t) -> long {
                        errno = ENOSPC;
                        return -1;
                    },
                    SystemFileSeam().sync};
}

// A still-view list with one record of every kind, in a fixed order.
inline RecordList EveryStillKind() {
    RecordList l;
    Add(l, Record(1, {{0, 0}, {10, 0}, {}, {}, {}, {}, {5, 5}}, {"L:1.000mm"}));
    Add(l, Record(22, {{0, 0}, {10, 0}, {5, 5}, {6, 6}}, {"L:2.000mm"}));
    Add(l, Record(12, {{0, 0}, {0, 10}, {}, {}, {}, {}, {5, 5}}, {"L:3.000mm"}));
    Add(l, Record(18, {{0, 0}, {20, 0}, {}, {}, {}, {}, {5, 5}}, {"L:4.000mm"}));
    Add(l, Record(23, {{0, 0}, {30, 0}, {5, 5}}, {"L:5.000mm"}));
    Add(l, Record(24, {{0, 0}, {40, 0}, {5, 5}}, {"L:6.000mm"}));
    Add(l, Record(6, {{0, 0}, {10, 0}, {1, 1}, {10, 10}, {2, 2}}, {"1.500mm", "2.250mm"}));
    Add(l, Record(2, {{50, 50}, {53, 54}, {60, 60}}, {"A:7.0mm2", "R:8.0mm", "G:9.0mm"}));
    Add(l, Record(8, {{50, 50}, {45, 50}, {55, 50}, {60, 60}}, {"A:1mm2", "R:2mm", "G:3mm"}));
    Add(l, Record(9, {{50, 50}, {55, 50}, {50, 55}, {45, 50}, {0, 0}}, {"A:4", "R:5", "G:6"}));
    MeasureRecord autoCircle = Record(19, {{70, 70}, {80, 80}}, {"A:7", "R:8", "G:9"});
    autoCircle.fitRadius = 12.0;
    Add(l, autoCircle);
    Add(l, Record(11,
                  {{0, 10},
                   {10, 0},
                   {20, 10},
                   {10, 10},
                   {},
                   {40, 10},
                   {50, 0},
                   {60, 10},
                   {50, 10},
                   {},
                   {}},
                  {"R1:1mm", "R2:2mm", "L:3mm"}));
    Add(l, Record(3, {{10, 10}, {30, 20}, {0, 0}}, {"A:200mm2", "W:20mm", "H:10mm"}));
    Add(l, Record(7, {{0, 0}, {10, 0}, {10, 10}, {10, 10}, {3, 3}}, {"A:50mm2"}));
    Add(l, Record(5, {{10, 0}, {0, 0}, {0, 10}, {1, 1}}, {"90.000°"}));
    Add(l, Record(10, {{0, 0}, {10, 0}, {0, 5}, {10, 15}, {1, 1}}, {"45.000°"}));
    Add(l, Record(21, {{0, 0}, {10, 0}, {0, 5}, {10, 15}, {1, 1}}, {"46.000°"}));
    Add(l,
        Record(222, {{0, 10}, {10, 0}, {20, 10}, {1, 1}, {10, 10}}, {"R:1", "Angle:2", "Arc:3"}));
    Add(l,
        Record(333, {{0, 10}, {10, 0}, {20, 10}, {1, 1}, {10, 10}}, {"R:4", "Angle:5", "Arc:6"}));
    Add(l, Record(4, {{0, 0}, {60, 60}}, {"a note"}));
    Add(l, Record(13, {{5, 5}}, {"1"}));
    Add(l, Record(14, {{5, 5}}, {"2"}));
    return l;
}

// Group code / value pairs of a DXF text.
inline std::vector<std::pair<int, std::string>> DxfGroups(const std::string& text) {
    std::vector<std::pair<int, std::string>> groups;
    std::size_t pos = 0;
    const auto line = [&text, &pos]() {
        const std::size_t end = text.find('\n', pos);
        std::string s = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        if (!s.empty() && s.back() == '\r') {
            s.pop_back();
        }
        return s;
    };
    while (pos < text.size()) {
        const std::string code = line();
        const std::string value = line();
        groups.emplace_back(std::atoi(code.c_str()), value);
    }
    return groups;
}

// RFC 4180 rows of a CSV text (BOM not included).
inline std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string cell;
    bool quoted = false;
    bool started = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(std::move(cell));
            cell.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.back().push_back(std::move(cell));
            cell.clear();
            rows.emplace_back();
            ++i;
        } else {
            cell += c;
        }
        started = true;
    }
    if (started && (!cell.empty() || !rows.back().empty())) {
        rows.back().push_back(std::move(cell));
    }
    if (rows.back().empty()) {
        rows.pop_back();
    }
    return rows;
}

}  // namespace lensora::test
