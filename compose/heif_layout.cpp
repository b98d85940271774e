#include "compose/heif_layout.h"

#include <cstring>
#include <map>
#include <vector>

namespace corv {

namespace {

// Big-endian reads inside [begin, end) of one box; a read past its end
// clears `ok` and gives 0.
struct Reader {
    const uint8_t* data;
    std::size_t at;
    std::size_t end;
    bool ok = true;

    uint32_t Take(int bytes) {
        if (!ok || end - at < static_cast<std::size_t>(bytes)) {
            ok = false;
            return 0;
        }
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) value = value << 8 | data[at + i];
        at += static_cast<std::size_t>(bytes);
        return value;
    }
};

struct Box {
    const uint8_t* type = nullptr;
    std::size_t body = 0;  // after the header
    std::size_t end = 0;

    bool Is(const char* name) const { return std::memcmp(type, name, 4) == 0; }
};

// The box whose header starts at `at`, inside [at, end): a size of 0 runs
// to the end, 1 gives a 64-bit size after the type.
HeifRead ReadBox(const uint8_t* data, std::size_t at, std::size_t end, Box& box) {
    if (at > end || end - at < 8) return HeifRead::Truncated;
    Reader in{data, at, end};
    uint64_t size = in.Take(4);
    box.type = data + at + 4;
    in.at += 4;
    std::size_t header = 8;
    if (size == 1) {
        if (end - at < 16) return HeifRead::Truncated;
        size = uint64_t{in.Take(4)} << 32;
        size |= in.Take(4);
        header = 16;
    } else if (size == 0) {
        size = end - at;
    }
    if (size < header) return HeifRead::Malformed;
    if (size > end - at) return HeifRead::Truncated;
    box.body = at + header;
    box.end = at + static_cast<std::size_t>(size);
    return HeifRead::Ok;
}

// Calls `each` for every box inside [from, end); false when one is broken.
template <typename Each>
bool ForEachBox(const uint8_t* data, std::size_t from, std::size_t end, Each each) {
    for (std::size_t at = from; at < end;) {
        Box box;
        if (ReadBox(data, at, end, box) != HeifRead::Ok) return false;
        if (!each(box)) return false;
        at = box.end;
    }
    return true;
}

bool IsPictureBrand(const uint8_t* brand) {
    static const char* const kBrands[] = {"heic", "heix", "heim", "heis", "hevc",
                                          "hevx", "mif1", "msf1", "avif", "avis"};
    for (const char* known : kBrands)
        if (std::memcmp(brand, known, 4) == 0) return true;
    return false;
}

struct Item {
    uint32_t id = 0;
    char type[4] = {};
    bool located = false;
    int method = 0;  // 0: file offsets, 1: inside the idat box
    uint64_t base = 0;
    std::vector<std::pair<uint64_t, uint64_t>> extents;  // offset, length
    std::vector<uint32_t> properties;                    // ipco indices
};

struct Reference {
    char type[4] = {};
    uint32_t from = 0;
    std::vector<uint32_t> to;
};

// The most items, properties, references and extents of one item a file
// may have: far beyond any picture's, and a bound on the memory a hostile
// file can make the reader take.
constexpr std::size_t kMaxEntries = 20000;
constexpr std::size_t kMaxExtents = 32;

// What the meta box says of the items.
struct MetaFacts {
    uint32_t primary = 0;
    bool havePrimary = false;
    std::map<uint32_t, Item> items;
    std::vector<Box> properties;  // ipco, in order (indices from 1)
    std::vector<Reference> references;
    std::size_t referenced = 0;  // items named by all references together
    bool haveIdat = false;
    Box idat;

    // The item, made when new; null past kMaxEntries items.
    Item* At(uint32_t id) {
        auto found = items.find(id);
        if (found != items.end()) return &found->second;
        if (items.size() >= kMaxEntries) return nullptr;
        Item& item = items[id];
        item.id = id;
        return &item;
    }
    const Item* Find(uint32_t id) const {
        auto found = items.find(id);
        return found == items.end() ? nullptr : &found->second;
    }
};

bool IsType(const char* type, const char* name) {
    return std::memcmp(type, name, 4) == 0;
}

bool IsCodedType(const char* type) {
    return IsType(type, "av01") || IsType(type, "hvc1");
}

// A full box's version (its flags in `flags`).
uint32_t FullBoxHeader(Reader& in, uint32_t* flags = nullptr) {
    const uint32_t version = in.Take(1);
    const uint32_t f = in.Take(3);
    if (flags) *flags = f;
    return version;
}

bool ReadItemInfo(const uint8_t* data, const Box& iinf, MetaFacts& facts) {
    Reader in{data, iinf.body, iinf.end};
    const uint32_t version = FullBoxHeader(in);
    in.Take(version == 0 ? 2 : 4);  // the entry count: the boxes tell
    if (!in.ok) return false;
    return ForEachBox(data, in.at, iinf.end, [&](const Box& infe) {
        if (!infe.Is("infe")) return true;
        Reader item{data, infe.body, infe.end};
        const uint32_t itemVersion = FullBoxHeader(item);
        if (itemVersion < 2) return item.ok;  // no item type
        const uint32_t id = item.Take(itemVersion == 2 ? 2 : 4);
        item.Take(2);  // protection index
        Item* entry = item.ok && infe.end - item.at >= 4 ? facts.At(id) : nullptr;
        if (!entry) return false;
        std::memcpy(entry->type, data + item.at, 4);
        return true;
    });
}

// Sizes of 0, 4 or 8 bytes.
uint64_t TakeSized(Reader& in, uint32_t bytes) {
    if (bytes == 0) return 0;
    if (bytes == 4) return in.Take(4);
    if (bytes == 8) {
        const uint64_t high = in.Take(4);
        return high << 32 | in.Take(4);
    }
    in.ok = false;
    return 0;
}

bool ReadLocations(const uint8_t* data, const Box& iloc, MetaFacts& facts) {
    Reader in{data, iloc.body, iloc.end};
    const uint32_t version = FullBoxHeader(in);
    const uint32_t sizes = in.Take(2);
    const uint32_t offsetSize = sizes >> 12, lengthSize = sizes >> 8 & 15;
    const uint32_t baseSize = sizes >> 4 & 15, indexSize = version >= 1 ? sizes & 15 : 0;
    const uint32_t count = in.Take(version < 2 ? 2 : 4);
    if (version > 2) return false;
    for (uint32_t i = 0; in.ok && i < count; ++i) {
        Item* item = facts.At(in.Take(version < 2 ? 2 : 4));
        if (!item) return false;
        item->method = version >= 1 ? static_cast<int>(in.Take(2) & 15) : 0;
        in.Take(2);  // data reference index
        item->base = TakeSized(in, baseSize);
        const uint32_t extents = in.Take(2);
        if (extents > kMaxExtents) return false;
        item->extents.clear();
        for (uint32_t k = 0; in.ok && k < extents; ++k) {
            TakeSized(in, indexSize);
            const uint64_t offset = TakeSized(in, offsetSize);
            const uint64_t length = TakeSized(in, lengthSize);
            item->extents.emplace_back(offset, length);
        }
        item->located = in.ok;
    }
    return in.ok;
}

bool ReadAssociations(const uint8_t* data, const Box& ipma, MetaFacts& facts) {
    Reader in{data, ipma.body, ipma.end};
    uint32_t flags = 0;
    const uint32_t version = FullBoxHeader(in, &flags);
    const uint32_t count = in.Take(4);
    for (uint32_t i = 0; in.ok && i < count; ++i) {
        Item* item = facts.At(in.Take(version < 1 ? 2 : 4));
        if (!item) return false;
        const uint32_t links = in.Take(1);
        for (uint32_t k = 0; in.ok && k < links; ++k)
            item->properties.push_back((flags & 1) ? in.Take(2) & 0x7FFF : in.Take(1) & 0x7F);
        if (item->properties.size() > kMaxEntries) return false;
    }
    return in.ok;
}

bool ReadProperties(const uint8_t* data, const Box& iprp, MetaFacts& facts) {
    std::vector<Box> maps;
    const bool read = ForEachBox(data, iprp.body, iprp.end, [&](const Box& box) {
        if (box.Is("ipco"))
            return ForEachBox(data, box.body, box.end, [&](const Box& property) {
                facts.properties.push_back(property);
                return facts.properties.size() <= kMaxEntries;
            });
        if (box.Is("ipma")) maps.push_back(box);
        return true;
    });
    if (!read) return false;
    for (const Box& ipma : maps)
        if (!ReadAssociations(data, ipma, facts)) return false;
    return true;
}

bool ReadReferences(const uint8_t* data, const Box& iref, MetaFacts& facts) {
    Reader in{data, iref.body, iref.end};
    const uint32_t version = FullBoxHeader(in);
    if (!in.ok) return false;
    return ForEachBox(data, in.at, iref.end, [&](const Box& box) {
        Reader r{data, box.body, box.end};
        Reference reference;
        std::memcpy(reference.type, box.type, 4);
        reference.from = r.Take(version == 0 ? 2 : 4);
        const uint32_t count = r.Take(2);
        facts.referenced += count;
        if (facts.referenced > kMaxEntries * 4) return false;
        for (uint32_t i = 0; r.ok && i < count; ++i)
            reference.to.push_back(r.Take(version == 0 ? 2 : 4));
        facts.references.push_back(reference);
        return r.ok && facts.references.size() <= kMaxEntries;
    });
}

bool ReadMeta(const uint8_t* data, const Box& meta, MetaFacts& facts) {
    if (meta.end - meta.body < 4) return false;
    return ForEachBox(data, meta.body + 4, meta.end, [&](const Box& box) {  // a full box
        if (box.Is("pitm")) {
            Reader in{data, box.body, box.end};
            const uint32_t version = FullBoxHeader(in);
            facts.primary = in.Take(version == 0 ? 2 : 4);
            facts.havePrimary = in.ok;
            return in.ok;
        }
        if (box.Is("iinf")) return ReadItemInfo(data, box, facts);
        if (box.Is("iloc")) return ReadLocations(data, box, facts);
        if (box.Is("iprp")) return ReadProperties(data, box, facts);
        if (box.Is("iref")) return ReadReferences(data, box, facts);
        if (box.Is("idat")) {
            facts.haveIdat = true;
            facts.idat = box;
        }
        return true;
    });
}

// The first property of `type` associated with `item`, or null.
const Box* PropertyOf(const MetaFacts& facts, const Item& item, const char* type) {
    for (uint32_t index : item.properties) {
        if (index == 0 || index > facts.properties.size()) continue;
        const Box& property = facts.properties[index - 1];
        if (property.Is(type)) return &property;
    }
    return nullptr;
}

// Where an item's data lies in the file.
HeifRead ItemData(const MetaFacts& facts, const Item& item, std::size_t fileSize,
                  std::vector<HeifRange>& out) {
    if (!item.located || item.extents.empty()) return HeifRead::Malformed;
    out.clear();
    std::size_t start = 0;
    std::size_t end = fileSize;
    if (item.method == 1) {
        if (!facts.haveIdat) return HeifRead::Malformed;
        start = facts.idat.body;
        end = facts.idat.end;
    } else if (item.method != 0) {
        return HeifRead::Malformed;
    }
    const uint64_t room = end - start;
    for (const auto& [offset, length] : item.extents) {
        const uint64_t at = item.base + offset;
        if (at < item.base || at > room)
            return item.method == 0 ? HeifRead::Truncated : HeifRead::Malformed;
        const uint64_t size = length == 0 ? room - at : length;
        if (size > room - at || size == 0)
            return item.method == 0 ? HeifRead::Truncated : HeifRead::Malformed;
        out.push_back(
            HeifRange{start + static_cast<std::size_t>(at), static_cast<std::size_t>(size)});
    }
    return HeifRead::Ok;
}

// One coded item: its data, configuration and size.
HeifRead ReadCoded(const MetaFacts& facts, const Item& item, std::size_t fileSize,
                   const uint8_t* data, HeifCoded& out) {
    const HeifRead located = ItemData(facts, item, fileSize, out.data);
    if (located != HeifRead::Ok) return located;
    const Box* ispe = PropertyOf(facts, item, "ispe");
    if (!ispe) return HeifRead::Malformed;
    Reader in{data, ispe->body, ispe->end};
    FullBoxHeader(in);
    const uint32_t width = in.Take(4);
    const uint32_t height = in.Take(4);
    if (!in.ok || width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return HeifRead::Malformed;
    out.width = static_cast<int32_t>(width);
    out.height = static_cast<int32_t>(height);
    const Box* config = PropertyOf(facts, item, IsType(item.type, "av01") ? "av1C" : "hvcC");
    if (config) out.config = HeifRange{config->body, config->end - config->body};
    return HeifRead::Ok;
}

// The primary picture's turn and colour description.
void ReadLooks(const uint8_t* data, const MetaFacts& facts, const Item& item, HeifLayout& out) {
    int turns = 0;
    int mirror = -1;
    if (const Box* irot = PropertyOf(facts, item, "irot"))
        if (irot->end > irot->body) turns = data[irot->body] & 3;
    if (const Box* imir = PropertyOf(facts, item, "imir"))
        if (imir->end > imir->body) mirror = data[imir->body] & 1;
    out.orientation = HeifOrientation(turns, mirror);
    for (uint32_t index : item.properties) {
        if (index == 0 || index > facts.properties.size()) continue;
        const Box& colr = facts.properties[index - 1];
        if (!colr.Is("colr") || colr.end - colr.body < 11 ||
            !IsType(reinterpret_cast<const char*>(data + colr.body), "nclx"))
            continue;
        Reader in{data, colr.body + 8, colr.end};
        out.haveColour = true;
        out.matrix = static_cast<int>(in.Take(2));
        out.fullRange = (in.Take(1) & 0x80) != 0;
        return;
    }
}

// The tiles of a grid, from its description (the item's data) and its
// derivation references.
HeifRead ReadGrid(const uint8_t* data, std::size_t size, const MetaFacts& facts, const Item& grid,
                  HeifLayout& out) {
    std::vector<HeifRange> pieces;
    const HeifRead located = ItemData(facts, grid, size, pieces);
    if (located != HeifRead::Ok) return located;
    uint8_t description[12] = {};
    std::size_t length = 0;
    for (const HeifRange& piece : pieces)
        for (std::size_t i = 0; i < piece.size && length < sizeof description; ++i)
            description[length++] = data[piece.offset + i];
    Reader in{description, 0, length};
    in.Take(1);  // version
    const uint32_t flags = in.Take(1);
    out.gridRows = static_cast<int32_t>(in.Take(1) + 1);
    out.gridColumns = static_cast<int32_t>(in.Take(1) + 1);
    const int bytes = (flags & 1) ? 4 : 2;
    out.width = in.Take(bytes);
    out.height = in.Take(bytes);
    if (!in.ok || out.width <= 0 || out.height <= 0) return HeifRead::Malformed;
    const Reference* tiles = nullptr;
    for (const Reference& reference : facts.references)
        if (IsType(reference.type, "dimg") && reference.from == grid.id) tiles = &reference;
    const std::size_t count = static_cast<std::size_t>(out.gridRows) * out.gridColumns;
    if (!tiles || tiles->to.size() != count) return HeifRead::Malformed;
    for (uint32_t id : tiles->to) {
        const Item* tile = facts.Find(id);
        if (!tile || !IsCodedType(tile->type)) return HeifRead::Malformed;
        HeifCoded coded;
        const HeifRead read = ReadCoded(facts, *tile, size, data, coded);
        if (read != HeifRead::Ok) return read;
        if (!out.tiles.empty() &&
            (coded.width != out.tiles[0].width || coded.height != out.tiles[0].height ||
             !IsType(tile->type, facts.Find(tiles->to[0])->type)))
            return HeifRead::Malformed;
        out.tiles.push_back(coded);
    }
    // The tiles must cover the picture, and each row and column of them
    // must reach into it.
    const int64_t tileWidth = out.tiles[0].width;
    const int64_t tileHeight = out.tiles[0].height;
    if (tileWidth * out.gridColumns < out.width || tileHeight * out.gridRows < out.height ||
        tileWidth * (out.gridColumns - 1) >= out.width ||
        tileHeight * (out.gridRows - 1) >= out.height)
        return HeifRead::Malformed;
    return HeifRead::Ok;
}

// The alpha plane of `primary`: an item coded like it that names it as
// its auxiliary and says it is alpha.
void ReadAlpha(const uint8_t* data, std::size_t size, const MetaFacts& facts, const Item& primary,
               HeifLayout& out) {
    static const char* const kAlphaTypes[] = {"urn:mpeg:mpegB:cicp:systems:auxiliary:alpha",
                                              "urn:mpeg:hevc:2015:auxid:1"};
    for (const Reference& reference : facts.references) {
        if (!IsType(reference.type, "auxl") || reference.to.size() != 1 ||
            reference.to[0] != primary.id)
            continue;
        const Item* item = facts.Find(reference.from);
        if (!item || !IsType(item->type, primary.type)) continue;
        const Box* auxC = PropertyOf(facts, *item, "auxC");
        if (!auxC || auxC->end - auxC->body < 4) continue;
        const char* urn = reinterpret_cast<const char*>(data + auxC->body + 4);
        const std::size_t room = auxC->end - auxC->body - 4;
        bool isAlpha = false;
        for (const char* type : kAlphaTypes)
            isAlpha = isAlpha || (std::strlen(type) < room &&
                                  std::memcmp(urn, type, std::strlen(type) + 1) == 0);
        if (!isAlpha) continue;
        HeifCoded coded;
        if (ReadCoded(facts, *item, size, data, coded) == HeifRead::Ok &&
            coded.width == out.tiles[0].width && coded.height == out.tiles[0].height) {
            out.haveAlpha = true;
            out.alpha = coded;
        }
        return;
    }
}

}  // namespace

HeifRead ReadHeifLayout(const uint8_t* data, std::size_t size, HeifLayout& out) {
    if (data == nullptr || size < 12 || std::memcmp(data + 4, "ftyp", 4) != 0)
        return HeifRead::NotHeif;
    Box ftyp;
    const HeifRead head = ReadBox(data, 0, size, ftyp);
    if (head != HeifRead::Ok) return head == HeifRead::Truncated ? head : HeifRead::NotHeif;
    bool picture = false;
    for (std::size_t at = ftyp.body; at + 4 <= ftyp.end; at += 4)
        if (at != ftyp.body + 4)
            picture = picture || IsPictureBrand(data + at);  // not the minor version
    if (!picture) return HeifRead::NotHeif;

    // Every top-level box must be whole; the meta box describes the items.
    MetaFacts facts;
    bool haveMeta = false;
    bool metaRead = true;
    for (std::size_t at = ftyp.end; at < size;) {
        Box box;
        const HeifRead read = ReadBox(data, at, size, box);
        if (read != HeifRead::Ok) return read;
        if (box.Is("meta") && !haveMeta) {
            haveMeta = true;
            metaRead = ReadMeta(data, box, facts);
        }
        at = box.end;
    }
    if (!haveMeta || !metaRead || !facts.havePrimary) return HeifRead::Malformed;
    const Item* primary = facts.Find(facts.primary);
    if (!primary) return HeifRead::Malformed;

    HeifLayout layout;
    if (IsType(primary->type, "grid")) {
        const HeifRead read = ReadGrid(data, size, facts, *primary, layout);
        if (read != HeifRead::Ok) return read;
    } else if (IsCodedType(primary->type)) {
        HeifCoded coded;
        const HeifRead read = ReadCoded(facts, *primary, size, data, coded);
        if (read != HeifRead::Ok) return read;
        layout.width = coded.width;
        layout.height = coded.height;
        layout.tiles.push_back(coded);
        ReadAlpha(data, size, facts, *primary, layout);
    } else {
        return HeifRead::Malformed;
    }
    const Item* first = primary;
    if (layout.gridRows > 0) {
        for (const Reference& reference : facts.references)
            if (IsType(reference.type, "dimg") && reference.from == primary->id)
                first = facts.Find(reference.to[0]);
    }
    layout.codec = IsType(first->type, "av01") ? HeifCodec::Av1 : HeifCodec::Hevc;
    ReadLooks(data, facts, *primary, layout);
    if (!layout.haveColour && first != primary) ReadLooks(data, facts, *first, layout);
    out = layout;
    return HeifRead::Ok;
}

int HeifOrientation(int quarterTurns, int mirror) {
    // Rows: quarter turns anticlockwise; columns: no mirror, top and bottom
    // exchanged, left and right exchanged.
    static const int kOrientations[4][3] = {{1, 4, 2}, {8, 5, 7}, {3, 2, 4}, {6, 7, 5}};
    const int column = mirror < 0 ? 0 : (mirror & 1) + 1;
    return kOrientations[quarterTurns & 3][column];
}

int64_t HeifWorkBytes(int64_t width, int64_t height, int bitsPerSample, bool alpha) {
    if (width <= 0 || height <= 0) return 0;
    const int64_t bytes = bitsPerSample > 8 ? 2 : 1;
    return width * height * bytes * (alpha ? 4 : 3);
}

}  // namespace corv
