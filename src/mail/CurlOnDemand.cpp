// The libcurl functions this library calls, opening libcurl when the first of them is called.
// Linked the usual way, libcurl and the two dozen libraries it needs (TLS, Kerberos, LDAP, SSH,
// IDN...) would be loaded, relocated and initialised at every start of the window and of
// pavena-cli, which took a third of the window's start-up, while few runs ever send a mail.
// Each function here forwards to libcurl's own; a function this library starts to use needs a
// line here too, or the build stops at an undefined reference.

// The checking macros of curl.h would take the place of curl_easy_setopt's definition below.
#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>

#include <cstdarg>
#include <dlfcn.h>
#include <string>
#include <type_traits>

namespace {

struct TCurlLibrary {
  // Why libcurl could not be opened; empty once it is.
  std::string Failure;
  decltype(&curl_global_init) GlobalInit = nullptr;
  decltype(&curl_easy_init) EasyInit = nullptr;
  decltype(&curl_easy_setopt) EasySetopt = nullptr;
  decltype(&curl_easy_perform) EasyPerform = nullptr;
  decltype(&curl_easy_cleanup) EasyCleanup = nullptr;
  decltype(&curl_easy_strerror) EasyStrerror = nullptr;
  decltype(&curl_slist_append) SlistAppend = nullptr;
  decltype(&curl_slist_free_all) SlistFreeAll = nullptr;
  decltype(&curl_mime_init) MimeInit = nullptr;
  decltype(&curl_mime_free) MimeFree = nullptr;
  decltype(&curl_mime_addpart) MimeAddpart = nullptr;
  decltype(&curl_mime_data) MimeData = nullptr;
  decltype(&curl_mime_data_cb) MimeDataCb = nullptr;
  decltype(&curl_mime_type) MimeType = nullptr;
  decltype(&curl_mime_encoder) MimeEncoder = nullptr;
  decltype(&curl_mime_headers) MimeHeaders = nullptr;

  bool Loaded() const { return Failure.empty(); }
};

TCurlLibrary Open() {
  TCurlLibrary curl;
  // Never closed: libcurl keeps global state for the life of the process.
  void *library = dlopen(PAVENA_CURL_SONAME, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    curl.Failure = dlerror();
    return curl;
  }
  bool complete = true;
  const auto resolve = [&](auto &function, const char *name) {
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
    complete = complete && function;
  };
  resolve(curl.GlobalInit, "curl_global_init");
  resolve(curl.EasyInit, "curl_easy_init");
  resolve(curl.EasySetopt, "curl_easy_setopt");
  resolve(curl.EasyPerform, "curl_easy_perform");
  resolve(curl.EasyCleanup, "curl_easy_cleanup");
  resolve(curl.EasyStrerror, "curl_easy_strerror");
  resolve(curl.SlistAppend, "curl_slist_append");
  resolve(curl.SlistFreeAll, "curl_slist_free_all");
  resolve(curl.MimeInit, "curl_mime_init");
  resolve(curl.MimeFree, "curl_mime_free");
  resolve(curl.MimeAddpart, "curl_mime_addpart");
  resolve(curl.MimeData, "curl_mime_data");
  resolve(curl.MimeDataCb, "curl_mime_data_cb");
  resolve(curl.MimeType, "curl_mime_type");
  resolve(curl.MimeEncoder, "curl_mime_encoder");
  resolve(curl.MimeHeaders, "curl_mime_headers");
  if (!complete)
    curl.Failure = std::string(PAVENA_CURL_SONAME) + ": brak funkcji biblioteki";
  return curl;
}

const TCurlLibrary &Curl() {
  static const TCurlLibrary curl = Open();
  return curl;
}

} // namespace

// Everything starts here; when libcurl cannot be opened it fails as libcurl's own set-up would,
// and curl_easy_strerror says why.
CURLcode curl_global_init(long flags) { return Curl().Loaded() ? Curl().GlobalInit(flags) : CURLE_FAILED_INIT; }

const char *curl_easy_strerror(CURLcode code) {
  return Curl().Loaded() ? Curl().EasyStrerror(code) : Curl().Failure.c_str();
}

CURL *curl_easy_init() { return Curl().Loaded() ? Curl().EasyInit() : nullptr; }

// The value's type follows from the option's number, as libcurl itself reads it.
CURLcode curl_easy_setopt(CURL *handle, CURLoption option, ...) {
  if (!Curl().Loaded())
    return CURLE_FAILED_INIT;
  va_list values;
  va_start(values, option);
  CURLcode result;
  if (option < CURLOPTTYPE_OBJECTPOINT)
    result = Curl().EasySetopt(handle, option, va_arg(values, long));
  else if (option < CURLOPTTYPE_FUNCTIONPOINT)
    result = Curl().EasySetopt(handle, option, va_arg(values, void *));
  else if (option < CURLOPTTYPE_OFF_T)
    result = Curl().EasySetopt(handle, option, va_arg(values, void (*)()));
  else if (option < CURLOPTTYPE_BLOB)
    result = Curl().EasySetopt(handle, option, va_arg(values, curl_off_t));
  else
    result = Curl().EasySetopt(handle, option, va_arg(values, void *));
  va_end(values);
  return result;
}

// A handle, a MIME structure or a part exists only when libcurl was opened and made it.
CURLcode curl_easy_perform(CURL *handle) { return Curl().EasyPerform(handle); }

void curl_easy_cleanup(CURL *handle) { Curl().EasyCleanup(handle); }

curl_slist *curl_slist_append(curl_slist *list, const char *text) {
  return Curl().Loaded() ? Curl().SlistAppend(list, text) : nullptr;
}

void curl_slist_free_all(curl_slist *list) {
  if (Curl().Loaded())
    Curl().SlistFreeAll(list);
}

curl_mime *curl_mime_init(CURL *handle) { return Curl().MimeInit(handle); }

void curl_mime_free(curl_mime *mime) {
  if (Curl().Loaded())
    Curl().MimeFree(mime);
}

curl_mimepart *curl_mime_addpart(curl_mime *mime) { return Curl().MimeAddpart(mime); }

CURLcode curl_mime_data(curl_mimepart *part, const char *data, size_t size) {
  return Curl().MimeData(part, data, size);
}

CURLcode curl_mime_data_cb(curl_mimepart *part, curl_off_t size, curl_read_callback read, curl_seek_callback seek,
                           curl_free_callback free, void *argument) {
  return Curl().MimeDataCb(part, size, read, seek, free, argument);
}

CURLcode curl_mime_type(curl_mimepart *part, const char *type) { return Curl().MimeType(part, type); }

CURLcode curl_mime_encoder(curl_mimepart *part, const char *encoding) { return Curl().MimeEncoder(part, encoding); }

CURLcode curl_mime_headers(curl_mimepart *part, curl_slist *headers, int takeOwnership) {
  return Curl().MimeHeaders(part, headers, takeOwnership);
}
