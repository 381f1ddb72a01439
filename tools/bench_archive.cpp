// Times packing and unpacking a 50 MB panel folder (a few large pictures, many small files)
// against zlib's own compress and uncompress of the same bytes in memory, the limit for
// both. Run by hand:
//   bench_archive [rounds] [folder for the scratch files]
// Unpacking also creates every file, which zlib alone does not; the plain writes of the
// same files show the file system's share.
#include <zlib.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "store/Archive.h"

namespace {

namespace fs = std::filesystem;

struct File {
  std::string name, bytes;
};

// Picture-like bytes: smooth rows with noise, so they compress somewhat, as photos do not
// and drawn backgrounds do.
std::string picture(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string out(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    out[i] = static_cast<char>((i / 3 % 256) + (random() % 16));
  return out;
}

std::string smallFile(int i) {
  std::string out = "[Position]\r\nLeft=" + std::to_string(i * 7 % 1920) + "\r\nTop=" +
                    std::to_string(i * 13 % 1080) + "\r\nWidth=300\r\nHeight=300\r\n";
  while (out.size() < 1500 + static_cast<std::size_t>(i % 7) * 300)
    out += "Key" + std::to_string(out.size()) + "=" + std::to_string(i) + "\r\n";
  return out;
}

std::vector<File> makeFiles() {
  std::vector<File> files;
  for (int i = 0; i < 4; ++i)
    files.push_back({"ScrimlayImage" + std::to_string(i) + ".bmp", picture(10 * 1000 * 1000, i)});
  std::size_t total = 40 * 1000 * 1000;
  for (int i = 0; total < 50 * 1000 * 1000; ++i) {
    files.push_back({"P@Gauge_" + std::to_string(i) + ".ini", smallFile(i)});
    total += files.back().bytes.size();
  }
  return files;
}

// Processor time of this process (user and system): on a machine shared with builds,
// wall time says more about the neighbours than about the archive.
template <class F>
double timed(F&& f) {
  const std::clock_t t0 = std::clock();
  f();
  return static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const fs::path root = (argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path()) /
                        ("bench_archive_" + std::to_string(std::random_device{}()));
  const fs::path folder = root / "Panel_Bench";
  fs::create_directories(folder);
  const std::vector<File> files = makeFiles();
  std::size_t total = 0;
  for (const File& f : files) {
    std::ofstream(folder / f.name, std::ios::binary) << f.bytes;
    total += f.bytes.size();
  }
  const std::string archive = (root / "Bench.vnx").string();

  // One of each per round, interleaved, so a busy machine slows all four alike.
  std::vector<std::string> compressed(files.size());
  std::string plain;
  double pack = 1e9, unpack = 1e9, zc = 1e9, zu = 1e9, fw = 1e9, fr = 1e9;
  for (int r = 0; r < rounds; ++r) {
    pack = std::min(pack, timed([&] { vantrel::packFolder(folder.string(), false, archive); }));
    // The file system's share of packing: every file read plainly and the archive's bytes
    // written once.
    fr = std::min(fr, timed([&] {
      std::string buffer;
      for (const File& f : files) {
        std::ifstream in(folder / f.name, std::ios::binary);
        buffer.resize(f.bytes.size());
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      }
      std::ofstream(root / "plain.vnx", std::ios::binary) << std::ifstream(archive, std::ios::binary).rdbuf();
    }));
    // The same bytes through zlib's one-call functions, nothing else.
    zc = std::min(zc, timed([&] {
      for (std::size_t i = 0; i < files.size(); ++i) {
        std::string& out = compressed[i];
        out.resize(compressBound(files[i].bytes.size()));
        uLongf len = out.size();
        compress2(reinterpret_cast<Bytef*>(out.data()), &len,
                  reinterpret_cast<const Bytef*>(files[i].bytes.data()), files[i].bytes.size(),
                  Z_DEFAULT_COMPRESSION);
        out.resize(len);
      }
    }));
    // A fresh folder each round: files deleted just before would make the file system
    // slower to create new ones than it is for a real import.
    const fs::path out = root / ("out" + std::to_string(r));
    unpack = std::min(unpack, timed([&] { vantrel::unpackArchive(archive, out.string(), true, true); }));
    // The file system's share: the same files written plainly, without zlib.
    const fs::path copy = root / ("plain" + std::to_string(r));
    fs::create_directory(copy);
    fw = std::min(fw, timed([&] {
      for (const File& f : files) std::ofstream(copy / f.name, std::ios::binary) << f.bytes;
    }));
    zu = std::min(zu, timed([&] {
      for (std::size_t i = 0; i < files.size(); ++i) {
        plain.resize(files[i].bytes.size());
        uLongf len = plain.size();
        uncompress(reinterpret_cast<Bytef*>(plain.data()), &len,
                   reinterpret_cast<const Bytef*>(compressed[i].data()), compressed[i].size());
      }
    }));
  }

  const double mb = static_cast<double>(total) / 1e6;
  std::printf("folder: %zu files, %.1f MB; archive %.1f MB; best of %d rounds, processor seconds\n", files.size(), mb,
              static_cast<double>(fs::file_size(archive)) / 1e6, rounds);
  std::printf("pack    %.3f s (%.0f MB/s)   zlib compress   %.3f s (%.0f MB/s)   ratio %.2f\n",
              pack, mb / pack, zc, mb / zc, pack / zc);
  std::printf("unpack  %.3f s (%.0f MB/s)   zlib uncompress %.3f s (%.0f MB/s)   ratio %.2f\n",
              unpack, mb / unpack, zu, mb / zu, unpack / zu);
  std::printf("plain reads of the files and one archive write %.3f s; pack against compress + those: ratio %.2f\n",
              fr, pack / (zc + fr));
  std::printf("plain writes of the same files %.3f s; unpack against uncompress + writes: ratio %.2f\n",
              fw, unpack / (zu + fw));
  fs::remove_all(root);
  return 0;
}
