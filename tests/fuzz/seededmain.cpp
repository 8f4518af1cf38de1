// SPDX-License-Identifier: MIT
// Drives storediff.cpp without libFuzzer: every seed file once, then CASES files made from them by a
// generator with a fixed seed, so that a run is the same on every machine. The edits splice in the tokens of
// libFuzzer's dictionary (ini.dict), cut, copy and change bytes.
//   usage: fuzz_settingsstore_seeded SEED CASES DICTIONARY SEED_FOLDER
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

/// Edits per generated file, at most, and the largest file made.
constexpr int kMaxEdits = 8;
constexpr qsizetype kMaxFileBytes = 4096;

void runOne(const QByteArray& file) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(file.constData()), size_t(file.size()));
}

/// The quoted tokens of a libFuzzer dictionary, with its "\\", "\"" and "\xNN" escapes.
std::vector<QByteArray> readDictionary(const QString& path) {
    QFile in(path);
    std::vector<QByteArray> tokens;
    if (!in.open(QIODevice::ReadOnly))
        return tokens;
    for (const QByteArray& line : in.readAll().split('\n')) {
        const qsizetype first = line.indexOf('"');
        const qsizetype last = line.lastIndexOf('"');
        if (line.trimmed().startsWith('#') || first < 0 || last <= first)
            continue;
        QByteArray token;
        for (qsizetype i = first + 1; i < last; ++i) {
            if (line[i] == '\\' && i + 1 < last && line[i + 1] == 'x' && i + 3 < last) {
                token += char(line.mid(i + 2, 2).toInt(nullptr, 16));
                i += 3;
            } else {
                token += line[i] == '\\' && i + 1 < last ? line[++i] : line[i];
            }
        }
        tokens.push_back(token);
    }
    return tokens;
}

QByteArray mutated(QByteArray file, const std::vector<QByteArray>& tokens, std::mt19937& random) {
    auto below = [&](qsizetype n) { return qsizetype(random() % quint32(qMax<qsizetype>(n, 1))); };
    const int edits = 1 + int(random() % kMaxEdits);
    for (int e = 0; e < edits; ++e) {
        const qsizetype at = below(file.size() + 1);
        switch (random() % 4) {
        case 0:
            if (!tokens.empty())
                file.insert(at, tokens[size_t(below(qsizetype(tokens.size())))]);
            break;
        case 1:
            file.remove(at, below(8));
            break;
        case 2:
            file.insert(below(file.size() + 1), file.mid(at, below(16)));
            break;
        default:
            if (at < file.size())
                file[at] = char(random());
        }
    }
    return file.left(kMaxFileBytes);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s SEED CASES DICTIONARY SEED_FOLDER\n", argv[0]);
        return 2;
    }
    std::mt19937 random(quint32(QByteArray(argv[1]).toUInt()));
    const long cases = QByteArray(argv[2]).toLong();
    const std::vector<QByteArray> tokens = readDictionary(QFile::decodeName(argv[3]));
    std::vector<QByteArray> seeds;
    const QDir folder(QFile::decodeName(argv[4]));
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
        QFile in(folder.filePath(name));
        if (in.open(QIODevice::ReadOnly))
            seeds.push_back(in.readAll());
    }
    if (seeds.empty() || tokens.empty()) {
        std::fprintf(stderr, "no seed files in %s or no tokens in %s\n", argv[4], argv[3]);
        return 2;
    }
    for (const QByteArray& seed : seeds)
        runOne(seed);
    for (long i = 0; i < cases; ++i)
        runOne(mutated(seeds[random() % seeds.size()], tokens, random));
    std::printf("%zu seed files and %ld generated files read alike\n", seeds.size(), cases);
    return 0;
}
