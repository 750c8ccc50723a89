// The document engine: the background work (counting, decompression, detection), the file
// on disk looked at, and the reads the window asks for.
#include "cli/view/doc/Document.h"

#include <libdeflate.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "cli/Compression.h"
#include "cli/Output.h"
#include "cli/view/doc/DocumentInternal.h"
#include "cli/view/doc/LineIndex.h"
#include "cli/view/doc/LineReader.h"
#include "cli/view/doc/LineText.h"
#include "cli/view/doc/Source.h"
#include "files/EkStream.h"
#include "files/SequenceDetection.h"
#include "platform/base/compress/Contents.h"

namespace zel_view {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// The window hears of progress at most this often; of an end, a failure or the disk at once.
constexpr auto kNotifyEvery = std::chrono::milliseconds(50);

// A file that counts the bytes read from it: a gzip file's decompression is as far along
// as its compressed bytes are read.
class CountingFile : public CStdioFile {
 public:
  using CStdioFile::CStdioFile;
  UINT Read(void* buffer, UINT count) override {
    const UINT got = CStdioFile::Read(buffer, count);
    m_read.fetch_add(got);
    return got;
  }
  uint64_t BytesRead() const { return m_read.load(); }

 private:
  std::atomic<uint64_t> m_read{0};
};

// What the file on disk looked like.
struct DiskMark {
  bool exists = false;
  uintmax_t size = 0;
  fs::file_time_type written{};
  bool operator==(const DiskMark&) const = default;
};

DiskMark MarkOf(const std::string& path) {
  DiskMark mark;
  std::error_code ec;
  if (!fs::exists(path, ec)) return mark;
  mark.exists = true;
  mark.size = fs::file_size(path, ec);
  mark.written = fs::last_write_time(path, ec);
  return mark;
}

// The words the status bar shows for what the detection found.
std::string FormatName(int format, int seqType) {
  std::string name;
  switch (format) {
    case ZEL_GUESS_GENBANK:
      name = "GenBank";
      break;
    case ZEL_GUESS_EMBL:
      name = "EMBL";
      break;
    case ZEL_GUESS_FASTA:
      name = "FASTA";
      break;
    case ZEL_GUESS_ARCHIVE:
      name = "Archive";
      break;
    default:
      return "Text";
  }
  return seqType == ZEL_SEQ_PROTEIN ? name + " (protein)" : name;
}

class DocumentImpl final : public Document {
 public:
  DocumentImpl(std::string path, std::function<void()> changed, const DocumentOptions& options)
      : m_path(std::move(path)), m_changed(std::move(changed)), m_options(options) {}
  ~DocumentImpl() override { Stop(); }

  bool Start(std::string* error);

  const std::string& Path() const override { return m_path; }
  DocumentState State() const override;
  std::vector<ShownLine> LinesFrom(Offset start, size_t count) override;
  std::vector<ShownLine> LinesBefore(Offset end, size_t count) override;
  std::optional<Offset> LineStart(int64_t number) override;
  std::optional<int64_t> LineNumber(Offset start) override;
  Offset ContentEnd() const override { return m_source ? m_source->End() : 0; }
  void Find(const std::string& text, Offset from) override;
  void CancelFind() override;
  FindState FindProgress() const override;
  bool Reload(std::string* error) override;

 private:
  void Stop();
  void Notify(bool now);
  void Work();
  void CountFile(FileSource& source);
  void CountGzip(CopySource& copy);
  void CountBgzf(BgzfSource& source);
  // Feeds the index and the detection with the next piece of contents.
  void Take(const char* p, size_t n, int percent);
  void Detect(bool whole);
  void Failed(const std::string& text);
  void WatchDisk();
  void RunFind(const std::string& text, Offset from);
  bool Growing() const { return m_growing.load(); }

  const std::string m_path;
  const std::function<void()> m_changed;
  const DocumentOptions m_options;

  // Replaced only by Reload, with no thread running.
  std::unique_ptr<Source> m_source;
  std::unique_ptr<LineIndex> m_index;
  std::string m_sample;  // the first contents, for the detection (worker only)
  bool m_detected = false;

  mutable std::mutex m_stateMutex;
  DocumentState m_state;
  DiskMark m_mark;

  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_growing{false};  // the contents' end still moves
  std::mutex m_wakeMutex;
  std::condition_variable m_wake;  // more contents, or time to stop
  std::thread m_worker, m_watcher;

  mutable std::mutex m_findMutex;
  FindState m_find;
  std::atomic<bool> m_findCancel{false};
  std::thread m_finder;

  std::mutex m_notifyMutex;
  Clock::time_point m_lastNotify{};
};

bool DocumentImpl::Start(std::string* error) {
  m_mark = MarkOf(m_path);
  auto file = std::make_unique<ZelFileSource>();
  if (std::error_code ec = file->Open(m_path.c_str())) {
    CFileException e(CFileException::ErrnoToException(ec.value()), ec.value(), m_path.c_str());
    *error = zel_cli::FailureText(m_path, e, true);
    return false;
  }
  char head[kZelCompressionHead];
  const size_t headBytes = static_cast<size_t>(std::min<uint64_t>(sizeof head, file->Size()));
  if (!file->ReadAt(0, head, headBytes)) {
    CFileException e(CFileException::hardIO, -1, m_path.c_str());
    *error = zel_cli::FailureText(m_path, e, true);
    return false;
  }
  const ZelCompression compression = ZelCompressionOf(std::string_view(head, headBytes));
  DocumentState state;
  state.fileSize = file->Size();
  switch (compression) {
    case ZelCompression::kNone:
      m_source = std::make_unique<FileSource>(m_path, std::move(file));
      break;
    case ZelCompression::kGzip:
      if (!(m_source = CopySource::Create(error))) return false;
      break;
    case ZelCompression::kBgzf:
      m_source = std::make_unique<BgzfSource>(m_path, std::move(file));
      break;
    default:
      *error = zel_cli::CompressionRefused(m_path, compression);
      return false;
  }
  if (const char* name = ZelCompressionName(compression)) state.compression = name;
  m_index = std::make_unique<LineIndex>(m_options.indexBlock);
  m_sample.clear();
  m_detected = false;
  {
    std::lock_guard lock(m_stateMutex);
    m_state = state;
  }
  m_growing = compression != ZelCompression::kNone;
  m_worker = std::thread([this] { Work(); });
  m_watcher = std::thread([this] { WatchDisk(); });
  return true;
}

void DocumentImpl::Stop() {
  CancelFind();
  {
    std::lock_guard lock(m_wakeMutex);
    m_stop = true;
  }
  m_wake.notify_all();
  if (m_worker.joinable()) m_worker.join();
  if (m_watcher.joinable()) m_watcher.join();
  m_stop = false;
}

void DocumentImpl::Notify(bool now) {
  {
    std::lock_guard lock(m_notifyMutex);
    const auto time = Clock::now();
    if (!now && time - m_lastNotify < kNotifyEvery) return;
    m_lastNotify = time;
  }
  // Called without a lock held: a callback may ask the document anything.
  if (m_changed) m_changed();
}

DocumentState DocumentImpl::State() const {
  std::lock_guard lock(m_stateMutex);
  DocumentState state = m_state;
  if (m_index) state.lines = m_index->Lines();
  if (state.failure.empty() && m_source) state.failure = m_source->Failure();
  return state;
}

void DocumentImpl::Failed(const std::string& text) {
  std::lock_guard lock(m_stateMutex);
  if (m_state.failure.empty()) m_state.failure = text;
}

void DocumentImpl::Work() {
  if (auto* copy = dynamic_cast<CopySource*>(m_source.get()))
    CountGzip(*copy);
  else if (auto* bgzf = dynamic_cast<BgzfSource*>(m_source.get()))
    CountBgzf(*bgzf);
  else
    CountFile(static_cast<FileSource&>(*m_source));
  if (m_stop) return;
  // What was read up to a failure stands as the contents.
  m_index->Finish();
  if (!m_detected) Detect(true);
  {
    std::lock_guard lock(m_stateMutex);
    m_state.counting = false;
    m_state.percent = 100;
    m_state.contentSize = m_index->Scanned();
    if (m_state.failure.empty()) m_state.failure = m_source->Failure();
  }
  {
    std::lock_guard lock(m_wakeMutex);
    m_growing = false;
  }
  m_wake.notify_all();
  Notify(true);
}

void DocumentImpl::Take(const char* p, size_t n, int percent) {
  m_index->Feed(p, n);
  if (!m_detected && m_sample.size() < m_options.detectBytes) {
    m_sample.append(p, std::min(n, m_options.detectBytes - m_sample.size()));
    if (m_sample.size() == m_options.detectBytes) Detect(false);
  }
  {
    std::lock_guard lock(m_stateMutex);
    m_state.percent = percent;
  }
  {
    // Taken, so that a search about to wait for more cannot miss this wake.
    std::lock_guard lock(m_wakeMutex);
  }
  m_wake.notify_all();
  if (m_options.pieceDone) m_options.pieceDone(m_source->End());
  Notify(false);
}

void DocumentImpl::Detect(bool whole) {
  m_detected = true;
  // A sample cut short ends at its last whole line.
  size_t length = m_sample.size();
  if (!whole) {
    const size_t end = m_sample.find_last_of("\r\n");
    if (end != std::string::npos) length = end + 1;
  }
  CString text(std::string_view(m_sample.data(), length));
  CEkStream stream(&text, static_cast<unsigned>(length));
  int seqType = 0, format = 0, archive = 0;
  TryToGuessFtype(&stream, &seqType, &format, &archive);
  stream.Close();
  std::string().swap(m_sample);
  {
    std::lock_guard lock(m_stateMutex);
    m_state.format = FormatName(format, seqType);
    m_state.kind = seqType == ZEL_SEQ_NUCLEIC   ? "nucleic acid"
                   : seqType == ZEL_SEQ_PROTEIN ? "protein"
                                                : "";
    m_state.protein = seqType == ZEL_SEQ_PROTEIN;
    m_state.fileType = ZelFtypeFromGuess(format, seqType);
  }
  Notify(true);
}

void DocumentImpl::CountFile(FileSource& source) {
  const Offset size = source.End();
  std::string buffer(m_options.piece, '\0');
  for (Offset at = 0; at < size && !m_stop;) {
    const size_t got = source.ReadAt(at, buffer.data(), buffer.size());
    if (got == 0) break;  // the source tells why
    at += got;
    Take(buffer.data(), got, static_cast<int>(at * 100 / size));
  }
}

void DocumentImpl::CountGzip(CopySource& copy) {
  try {
    auto counted = std::make_unique<CountingFile>(
        m_path.c_str(), CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
    const CountingFile& file = *counted;
    std::unique_ptr<CContentsFile> contents =
        CContentsFile::Open(std::move(counted), CContentsFile::kStreaming);
    const uint64_t size = std::max<uint64_t>(1, State().fileSize);
    std::string buffer(m_options.piece, '\0');
    while (!m_stop) {
      const UINT got = contents->Read(buffer.data(), static_cast<UINT>(buffer.size()));
      if (got == 0 || !copy.Append(buffer.data(), got)) break;
      Take(buffer.data(), got,
           static_cast<int>(std::min<uint64_t>(file.BytesRead(), size) * 100 / size));
    }
  } catch (CException& e) {
    Failed(zel_cli::FailureText(m_path, e, true));
  }
}

void DocumentImpl::CountBgzf(BgzfSource& source) {
  if (!source.Walk(m_stop)) return;
  {
    std::lock_guard lock(m_wakeMutex);
    m_growing = false;  // the table holds every block: the end is known
  }
  m_wake.notify_all();
  Notify(true);
  libdeflate_decompressor* d = libdeflate_alloc_decompressor();
  if (!d) return Failed("out of memory");
  const Offset size = std::max<Offset>(1, source.End());
  std::string bytes;
  Offset done = 0;
  for (size_t block = 0; block < source.Blocks() && !m_stop; ++block) {
    if (!source.Inflate(block, d, bytes)) break;
    done += bytes.size();
    if (!bytes.empty()) Take(bytes.data(), bytes.size(), static_cast<int>(done * 100 / size));
  }
  libdeflate_free_decompressor(d);
}

void DocumentImpl::WatchDisk() {
  // One look a second: a file has no watch of its own in the platform's service, which
  // watches whole folder trees, and a document's folder may hold a great many folders. A
  // look costs one stat, and sees files on network shares change too.
  DocumentState::Disk shown = DocumentState::Disk::Same;
  const auto every = std::chrono::milliseconds(m_options.pollMs);
  std::unique_lock lock(m_wakeMutex);
  for (auto next = Clock::now() + every;; next += every) {
    if (m_wake.wait_until(lock, next, [this] { return m_stop.load(); })) break;
    lock.unlock();
    const DiskMark mark = MarkOf(m_path);
    const auto disk = !mark.exists        ? DocumentState::Disk::Deleted
                      : !(mark == m_mark) ? DocumentState::Disk::Changed
                                          : DocumentState::Disk::Same;
    if (disk != shown) {
      shown = disk;
      {
        std::lock_guard state(m_stateMutex);
        m_state.disk = disk;
      }
      Notify(true);
    }
    lock.lock();
  }
}

std::vector<ShownLine> DocumentImpl::LinesFrom(Offset start, size_t count) {
  std::vector<ShownLine> lines;
  if (!m_source || count == 0) return lines;
  std::optional<int64_t> number = LineNumber(start);
  LineReader reader(*m_source, *m_index, m_source->End());
  RawLine raw;
  for (Offset at = start; lines.size() < count && reader.Next(at, raw, true); at = raw.next) {
    ShownLine& line = lines.emplace_back();
    line.start = raw.start;
    line.next = raw.next;
    line.text = ShowLine(raw.head, raw.end - raw.start - raw.head.size(), &line.cut);
    if (number) line.number = *number + static_cast<int64_t>(lines.size() - 1);
  }
  return lines;
}

std::vector<ShownLine> DocumentImpl::LinesBefore(Offset end, size_t count) {
  if (!m_source) return {};
  LineReader reader(*m_source, *m_index, m_source->End());
  Offset start = std::min(end, m_source->End());
  size_t found = 0;
  for (; found < count && start > 0; ++found) start = reader.StartOfLineBefore(start);
  return LinesFrom(start, found);
}

std::optional<Offset> DocumentImpl::LineStart(int64_t number) {
  if (!m_index || !m_index->CoversLine(number)) return std::nullopt;
  const IndexEntry entry = m_index->BeforeLine(number);
  LineReader reader(*m_source, *m_index, m_source->End());
  Offset at = entry.start;
  RawLine raw;
  for (int64_t n = entry.number; n < number; ++n) {
    if (!reader.Next(at, raw, false)) return std::nullopt;
    at = raw.next;
  }
  return at;
}

std::optional<int64_t> DocumentImpl::LineNumber(Offset start) {
  if (!m_index || !m_index->CoversOffset(start)) return std::nullopt;
  const IndexEntry entry = m_index->AtOrBefore(start);
  LineReader reader(*m_source, *m_index, m_source->End());
  return entry.number + reader.CountEnds(entry.start, start);
}

void DocumentImpl::Find(const std::string& text, Offset from) {
  CancelFind();
  {
    std::lock_guard lock(m_findMutex);
    m_find = FindState{};
    m_find.running = !text.empty() && m_source;
  }
  if (text.empty() || !m_source) return Notify(true);
  m_findCancel = false;
  m_finder = std::thread([this, text, from] { RunFind(text, from); });
}

void DocumentImpl::CancelFind() {
  {
    std::lock_guard lock(m_wakeMutex);
    m_findCancel = true;
  }
  m_wake.notify_all();
  if (m_finder.joinable()) m_finder.join();
  std::lock_guard lock(m_findMutex);
  m_find.running = false;
}

FindState DocumentImpl::FindProgress() const {
  std::lock_guard lock(m_findMutex);
  return m_find;
}

void DocumentImpl::RunFind(const std::string& text, Offset from) {
  const std::boyer_moore_horspool_searcher searcher(text.begin(), text.end());
  const size_t overlap = text.size() - 1;
  std::string buffer;
  std::optional<Offset> found;
  Offset at = from;
  auto stopped = [this] { return m_findCancel.load() || m_stop.load(); };
  while (!stopped()) {
    const Offset end = m_source->End();
    if (at + text.size() > end) {
      if (!Growing()) break;
      // A gzip copy still being written: wait for more of it.
      std::unique_lock lock(m_wakeMutex);
      m_wake.wait(lock, [&] { return stopped() || !Growing() || m_source->End() > end; });
      continue;
    }
    buffer.resize(
        static_cast<size_t>(std::min<Offset>(std::max(m_options.piece, text.size()), end - at)));
    const size_t got = m_source->ReadAt(at, buffer.data(), buffer.size());
    if (got < text.size()) break;  // the source tells why
    const auto first = buffer.begin();
    const auto hit = std::search(first, first + static_cast<std::ptrdiff_t>(got), searcher);
    if (hit != first + static_cast<std::ptrdiff_t>(got)) {
      const size_t k = static_cast<size_t>(hit - first);
      Offset match = at + k;
      // An LF after a CR belongs to the line the pair ends.
      if (k > 0 && buffer[k] == '\n' && buffer[k - 1] == '\r') --match;
      LineReader reader(*m_source, *m_index, end);
      found = std::max(from, reader.StartOfLineEndingAt(match));
      break;
    }
    at += got - overlap;
    {
      std::lock_guard lock(m_findMutex);
      m_find.percent = static_cast<int>((at - from) * 100 / std::max<Offset>(1, end - from));
    }
    Notify(false);
  }
  {
    std::lock_guard lock(m_findMutex);
    m_find.running = false;
    if (!stopped()) {
      m_find.percent = 100;
      m_find.found = found;
    }
  }
  if (!m_findCancel) Notify(true);
}

bool DocumentImpl::Reload(std::string* error) {
  Stop();
  {
    std::lock_guard lock(m_findMutex);
    m_find = FindState{};
  }
  m_source.reset();
  m_index.reset();
  std::string reason;
  if (!Start(&reason)) {
    std::lock_guard lock(m_stateMutex);
    m_state = DocumentState{};
    m_state.counting = false;
    m_state.failure = reason;
    if (error) *error = reason;
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<Document> OpenDocument(const std::string& path, std::function<void()> changed,
                                       std::string* error, const DocumentOptions& options) {
  auto document = std::make_unique<DocumentImpl>(path, std::move(changed), options);
  std::string reason;
  if (!document->Start(&reason)) {
    if (error) *error = reason;
    return nullptr;
  }
  return document;
}

std::unique_ptr<Document> Document::Open(const std::string& path, std::function<void()> changed,
                                         std::string* error) {
  return OpenDocument(path, std::move(changed), error, DocumentOptions{});
}

}  // namespace zel_view
