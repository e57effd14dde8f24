// The checks a DXF text passes before dxflib sees any of it, and the text dxflib then reads.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace murvex::dxf {

// dxflib reads lines into a buffer of 1024 bytes; from a stream a longer line makes it read the
// same line for ever. Lines handed to it stay well below.
inline constexpr std::size_t kMaxLineLength = 1000;
// Groups of one record handed on: a polyline or spline of the most points the import takes.
inline constexpr std::size_t kMaxGroupsPerRecord = 1000000;
// Kinds of entities counted apart in the report; more go together under kOtherKinds.
inline constexpr std::size_t kMaxSkippedKinds = 40;
inline constexpr const char* kOtherKinds = "overige soorten";

struct ScanResult {
    // Only the records dxflib is to read, each number written anew in a form it reads exactly,
    // every LWPOLYLINE and SPLINE with its counts first and true to the groups that follow
    // (dxflib sizes its arrays by them and keeps the last entity's when they are missing).
    std::string text;
    int entities = 0;                    // entity records handed on (not counting VERTEX/SEQEND)
    std::map<std::string, int> skipped;  // entity records of model space left out, by kind
    // Those of each block definition (by its name in capitals), counted per insertion later.
    std::map<std::string, std::map<std::string, int>> blockSkipped;
    bool utf8 = false;  // AutoCAD 2007 and later write UTF-8
    std::string error;  // empty when the text may be read
};

ScanResult ScanDxf(std::string_view bytes);

}  // namespace murvex::dxf
