// The stored form of a compiled language: a version, the payload size, and
// the payload (settings, word table, records, maps and sets) packed by the
// KH compressor. A stored language comes from outside the program, so every
// count, flag and group is checked as it is read.
#include "SynParse.h"
#include "SynParse_internal.h"

#include "SyntaxEd_settings.h"
#include "SyntaxEd_streamio.h"

namespace {

const char* const S4129 = "%s: DFM file saved by different version of TSyntaxMemoParser.\n\r"
                          "Recompile script to update DFM file.\n\r"
                          "Expected version was %d read version was %d";

// Raised inside the reader for data that cannot be a stored language.
class EDamaged : public Exception {
public:
  EDamaged() : Exception("damaged") {}
};

void WriteSet(TStream& s, const TCharSet& set) {
  uint8_t bytes[32] = {};
  for (size_t i = 0; i < 256; ++i)
    if (set[i]) bytes[i / 8] = static_cast<uint8_t>(bytes[i / 8] | (1 << (i % 8)));
  s.WriteBuffer(bytes, 32);
}

TCharSet ReadSet(TStream& s) {
  uint8_t bytes[32];
  s.ReadBuffer(bytes, 32);
  TCharSet set;
  for (size_t i = 0; i < 256; ++i)
    if (bytes[i / 8] & (1 << (i % 8))) set.set(i);
  return set;
}

// The settings' version when no stored form is being read or written.
constexpr int32_t kNoStreamVersion = 0x7FFFFFFF;

bool ReadFlag(TStream& s) {
  return ReadByte(s) != 0;
}

uint32_t ReadCount(TStream& s) {
  return static_cast<uint32_t>(ReadInt(s));
}

} // namespace

// Writes and reads the parts of a language with the group ids of its word
// table.
class TParserData {
public:
  explicit TParserData(TSyntaxMemoParser& p) : P(p) {}

  void Write(TStream& s);
  void Read(TStream& s, uint16_t version);

private:
  void WriteGroup(TStream& s, uint16_t id, bool meaningful) {
    if (meaningful)
      P.FKeywords->GetGroups().GroupById(id).SaveToStream(s);
    else
      TSM_CharGroup().SaveToStream(s);
  }
  uint16_t ReadGroup(TStream& s) {
    TSM_CharGroup g;
    g.LoadFromStream(s);
    return static_cast<uint16_t>(P.FKeywords->InternGroup(g));
  }
  void WritePart(TStream& s, const TScanPart& part, bool meaningful, bool isStart);
  TScanPart ReadPart(TStream& s);
  void WriteEnd(TStream& s, const TEndPart& end, bool meaningful);
  TEndPart ReadEnd(TStream& s);
  void WriteRecord(TStream& s, const TTokenRecord& r);
  TTokenRecord ReadRecord(TStream& s);
  void WriteMap(TStream& s, const TCharacterMap& map, bool withRanges);
  void ReadMap(TStream& s, TCharacterMap& map, bool withRanges);

  TSyntaxMemoParser& P;
};

void TParserData::WritePart(TStream& s, const TScanPart& part, bool meaningful, bool isStart) {
  WriteByte(s, meaningful && !isStart && part.ZeroOrMore);
  WriteGroup(s, part.GroupId, meaningful && !part.IsHandler);
  bool handler = meaningful && part.IsHandler;
  WriteByte(s, handler);
  if (!handler) return;
  WriteByte(s, part.IsCustom);
  WriteInt(s, static_cast<int32_t>(part.HandlerId));
}

TScanPart TParserData::ReadPart(TStream& s) {
  TScanPart part;
  part.ZeroOrMore = ReadFlag(s);
  part.GroupId = ReadGroup(s);
  part.IsHandler = ReadFlag(s);
  if (part.IsHandler) {
    part.IsCustom = ReadFlag(s);
    part.HandlerId = static_cast<uint32_t>(ReadInt(s));
  }
  return part;
}

void TParserData::WriteEnd(TStream& s, const TEndPart& end, bool meaningful) {
  WriteByte(s, meaningful && end.Consume);
  bool handler = meaningful && end.IsHandler;
  WriteByte(s, handler);
  if (handler) {
    WriteByte(s, end.IsCustom);
    WriteInt(s, static_cast<int32_t>(end.HandlerId));
    return;
  }
  uint8_t count = meaningful ? end.GroupCount : 0;
  WriteByte(s, count);
  for (uint8_t k = 0; k < count; ++k)
    WriteGroup(s, end.Groups[k], true);
}

TEndPart TParserData::ReadEnd(TStream& s) {
  TEndPart end;
  end.Consume = ReadFlag(s);
  end.IsHandler = ReadFlag(s);
  if (end.IsHandler) {
    end.IsCustom = ReadFlag(s);
    end.HandlerId = static_cast<uint32_t>(ReadInt(s));
    return end;
  }
  end.GroupCount = ReadByte(s);
  if (end.GroupCount > 4) throw EDamaged();
  for (uint8_t k = 0; k < end.GroupCount; ++k)
    end.Groups[k] = ReadGroup(s);
  return end;
}

void TParserData::WriteRecord(TStream& s, const TTokenRecord& r) {
  bool groupStart = !r.Start.IsHandler;
  WritePart(s, r.Start, true, true);
  WriteSet(s, r.States);
  WritePart(s, r.Body, groupStart, false);
  WriteEnd(s, r.End, groupStart);
  WriteByte(s, r.Token);
}

TTokenRecord TParserData::ReadRecord(TStream& s) {
  TTokenRecord r;
  r.Start = ReadPart(s);
  r.States = ReadSet(s);
  r.Body = ReadPart(s);
  r.End = ReadEnd(s);
  r.Token = ReadByte(s);
  return r;
}

void TParserData::WriteMap(TStream& s, const TCharacterMap& map, bool withRanges) {
  int32_t count = 0;
  for (const auto& e : map.Entries)
    count += e ? 1 : 0;
  WriteInt(s, count);
  for (size_t c = 0; c < 256; ++c) {
    if (!map.Entries[c]) continue;
    WriteByte(s, static_cast<uint8_t>(c));
    WriteRecord(s, *map.Entries[c]);
    if (!withRanges) continue;
    // Each entry of a state map carries the map's whole range list.
    WriteInt(s, static_cast<int32_t>(map.RangeEntries.size()));
    for (const auto& range : map.RangeEntries) {
      WriteWord(s, range.From);
      WriteWord(s, range.To);
      WriteRecord(s, range.Record);
    }
  }
}

void TParserData::ReadMap(TStream& s, TCharacterMap& map, bool withRanges) {
  for (uint32_t n = ReadCount(s); n > 0; --n) {
    uint8_t c = ReadByte(s);
    map.Entries[c] = std::make_unique<TTokenRecord>(ReadRecord(s));
    if (!withRanges) continue;
    map.RangeEntries.clear();
    for (uint32_t r = ReadCount(s); r > 0; --r) {
      TRangeEntry range;
      range.From = ReadWord(s);
      range.To = ReadWord(s);
      range.Record = ReadRecord(s);
      map.RangeEntries.push_back(range);
    }
  }
}

void TParserData::Write(TStream& s) {
  P.FSettings->SetStreamVersion(TSyntaxMemoParser::ParserVersion);
  try {
    P.FSettings->SaveToStream(s);
  } catch (...) {
    P.FSettings->SetStreamVersion(kNoStreamVersion);
    throw;
  }
  P.FSettings->SetStreamVersion(kNoStreamVersion);
  P.FKeywords->SaveToStream(s);

  int32_t count = 0;
  for (const auto& h : P.FHandlerRecords)
    count += h ? 1 : 0;
  WriteInt(s, count);
  for (size_t t = 0; t < 256; ++t) {
    const auto& h = P.FHandlerRecords[t];
    if (!h) continue;
    WriteByte(s, static_cast<uint8_t>(t));
    WritePart(s, h->Body, true, false);
    WriteEnd(s, h->End, true);
  }

  WriteMap(s, P.FDefaultMap, false);

  count = 0;
  for (const auto& c : P.FContextStates)
    count += c != P.FStartStates ? 1 : 0;
  WriteInt(s, count);
  for (size_t t = 0; t < 256; ++t) {
    if (P.FContextStates[t] == P.FStartStates) continue;
    WriteByte(s, static_cast<uint8_t>(t));
    WriteSet(s, P.FContextStates[t]);
  }

  count = 0;
  for (const auto& e : P.FEffectRecords)
    count += e ? 1 : 0;
  WriteInt(s, count);
  for (size_t t = 0; t < 256; ++t) {
    const auto& e = P.FEffectRecords[t];
    if (!e) continue;
    WriteByte(s, static_cast<uint8_t>(t));
    WriteSet(s, e->ValidStates);
    WriteSet(s, e->AddStates);
    WriteSet(s, e->RemoveStates);
    WriteByte(s, e->IsContainer);
    WriteByte(s, e->NoStateChange);
    WriteByte(s, e->StackFlags);
  }

  count = 0;
  if (!P.FNoStateMaps)
    for (const auto& m : P.FStateMaps)
      count += m ? 1 : 0;
  WriteInt(s, count);
  for (size_t state = 0; count > 0 && state < 256; ++state) {
    if (!P.FStateMaps[state]) continue;
    WriteByte(s, static_cast<uint8_t>(state));
    WriteMap(s, *P.FStateMaps[state], true);
  }

  WriteSet(s, P.FAnchorTokens);
  WriteSet(s, P.FBoundStates);
  WriteSet(s, P.FStartStates);
  WriteByte(s, P.FUsesCustomHandlers);
}

void TParserData::Read(TStream& s, uint16_t version) {
  P.FSettings->SetStreamVersion(version);
  try {
    P.FSettings->LoadFromStream(s);
  } catch (...) {
    P.FSettings->SetStreamVersion(kNoStreamVersion);
    throw;
  }
  P.FSettings->SetStreamVersion(kNoStreamVersion);
  P.FKeywords->LoadFromStream(s);
  P.FCaseSensitive = P.FKeywords->GetCaseFlag() != 0;

  for (uint32_t n = ReadCount(s); n > 0; --n) {
    uint8_t t = ReadByte(s);
    auto h = std::make_unique<THandlerRecord>();
    h->Body = ReadPart(s);
    h->End = ReadEnd(s);
    P.FHandlerRecords[t] = std::move(h);
  }
  ReadMap(s, P.FDefaultMap, false);
  for (uint32_t n = ReadCount(s); n > 0; --n) {
    uint8_t t = ReadByte(s);
    P.FContextStates[t] = ReadSet(s);
  }
  for (uint32_t n = ReadCount(s); n > 0; --n) {
    uint8_t t = ReadByte(s);
    auto e = std::make_unique<TEffectRecord>();
    e->ValidStates = ReadSet(s);
    e->AddStates = ReadSet(s);
    e->RemoveStates = ReadSet(s);
    e->IsContainer = ReadFlag(s);
    e->NoStateChange = ReadFlag(s);
    e->StackFlags = ReadByte(s);
    P.FEffectRecords[t] = std::move(e);
  }
  for (uint32_t n = ReadCount(s); n > 0; --n) {
    uint8_t state = ReadByte(s);
    P.FMapStates.set(state);
    P.FStateMaps[state] = std::make_unique<TCharacterMap>();
    ReadMap(s, *P.FStateMaps[state], true);
  }
  P.FNoStateMaps = P.FMapStates.none();
  P.FAnchorTokens = ReadSet(s);
  P.FBoundStates = ReadSet(s);
  P.FStartStates = ReadSet(s);
  // An entry that was not stored held the start states when it was written;
  // putting them back makes a second write equal to the first.
  for (auto& context : P.FContextStates)
    if (context.none()) context = P.FStartStates;
  P.FUsesCustomHandlers = ReadFlag(s);
  // Bytes left over mean the reader and the writer were out of step.
  if (s.GetPosition() != s.GetSize()) throw EDamaged();
}

void TSyntaxMemoParser::WriteParserData(TStream& Stream) {
  try {
    WriteWord(Stream, ParserVersion);
    TMemoryStream payload;
    TParserData(*this).Write(payload);
    WriteInt(Stream, static_cast<int32_t>(payload.GetSize()));
    payload.SetPosition(0);
    TCompressor c;
    c.UseStreams = true;
    c.Method = cmKH;
    c.InputStream = &payload;
    c.OutputStream = &Stream;
    c.Compress();
  } catch (const Exception& e) {
    throw ESyntaxMemo(Format("%s: %s", GetName(), e.Message));
  }
}

void TSyntaxMemoParser::ReadParserData(TStream& Stream) {
  ResetLanguage();
  uint16_t version = 0;
  try {
    version = ReadWord(Stream);
    if (version < 50) {
      String text = Format(S4129, GetName(), ParserVersion, version);
      if (IsLoading() || IsReading() || !OnParserVersionError) throw ESyntaxMemoParserError(text);
      OnParserVersionError(this, version, ParserVersion);
      return;
    }
    ReadInt(Stream);
    TMemoryStream payload;
    TCompressor c;
    c.UseStreams = true;
    c.InputStream = &Stream;
    c.OutputStream = &payload;
    c.Decompress();
    payload.SetPosition(0);
    TParserData(*this).Read(payload, version);
  } catch (const ESyntaxMemoParserError&) {
    throw;
  } catch (const Exception&) {
    // A damaged or cut stored language: say it is not one this program can
    // read, rather than keep a language read out of step.
    ResetLanguage();
    throw ESyntaxMemoParserError(Format(S4129, GetName(), ParserVersion, version));
  }
}
