#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "assets/texture.h"
#include "pictures.h"

namespace {

// Hexadecimal numbers separated by spaces, where N*X stands for N (decimal) copies of X.
std::vector<std::uint32_t> hexList(const std::string& text) {
    std::vector<std::uint32_t> list;
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        const std::size_t star = word.find('*');
        const int copies = star == std::string::npos ? 1 : std::stoi(word);
        list.insert(list.end(), copies, std::stoul(word.substr(star + 1), nullptr, 16));
    }
    return list;
}

// Each row of dib_forms.txt: the BMP its fields describe decodes to its pixels, or to none with
// its error printed.
TEST(DibDecode, EachFormDecodesToItsPixelsBottomRowFirstOrPrintsItsError) {
    std::ifstream rows(TEST_DATA_DIR "/dib_forms.txt");
    int count = 0;
    for (std::string row; std::getline(rows, row);) {
        if (row.empty() || row[0] == '#') continue;
        std::vector<std::string> fields;
        std::istringstream in(row);
        for (std::string field; std::getline(in, field, '|');)
            fields.push_back(field);
        ASSERT_EQ(fields.size(), 6u) << row;
        BmpForm form;
        int fileHeader = 1, cut = 0;
        std::istringstream(fields[1]) >> form.width >> form.height >> form.bitCount;
        for (std::uint32_t byte : hexList(fields[2]))
            form.bits.push_back(static_cast<unsigned char>(byte));
        form.palette = hexList(fields[3]);
        std::istringstream(fields[4]) >> form.compression >> form.coloursUsed >> form.headerSize >>
            fileHeader >> cut;
        form.fileHeader = fileHeader;
        const Bytes file = makeBmp(form);
        testing::internal::CaptureStderr();
        RgbImage* image = decodeDib(file.data(), file.size() - cut);
        const std::string error = testing::internal::GetCapturedStderr();
        std::vector<std::uint32_t> pixels;
        for (int i = 0; image && i < image->width * image->height; ++i) {
            const unsigned char* p = image->pixels + 3 * i;
            pixels.push_back((p[0] << 16) | (p[1] << 8) | p[2]);
        }
        freeDib(image);
        const std::size_t message = fields[5].find("Error");
        EXPECT_EQ(error, message == std::string::npos ? "" : fields[5].substr(message) + "\n")
            << fields[0];
        EXPECT_EQ(pixels,
                  message == std::string::npos ? hexList(fields[5]) : std::vector<std::uint32_t>{})
            << fields[0];
        ++count;
    }
    EXPECT_EQ(count, 24);
}

TEST(DibFile, AMissingFileIsReported) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadDib("no-such-picture.bmp"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Failed to open DIB file no-such-picture.bmp.\n");
}

} // namespace
