# Writes the web page's static site (run by web/CMakeLists.txt with cmake -P):
#   SOURCE  the page's sources        SITE        the site folder to write
#   WASM    the engine's build folder
#   ICONS   rendericons' folder       VERSION     the program's version
#   SAMPLE  the sample problem        SCREENSHOT  the window's picture for AppStream
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE}/icons)

foreach(name app.js boxfiles.js engine.js solver.js style.css worker.js)
  file(COPY_FILE ${SOURCE}/${name} ${SITE}/${name})
endforeach()
file(COPY_FILE ${WASM}/bagengine.js ${SITE}/bagengine.js)
file(COPY_FILE ${WASM}/bagengine.wasm ${SITE}/bagengine.wasm)
file(COPY_FILE ${ICONS}/scalable/apps/trevana2023.svg ${SITE}/icons/icon.svg)
foreach(size 32 180 192 512)
  file(COPY_FILE ${ICONS}/${size}x${size}/apps/trevana2023.png ${SITE}/icons/icon-${size}.png)
endforeach()

# The page opens with the window's sample problem in its input area.
file(READ ${SAMPLE} TREVANA_SAMPLE_PROBLEM)
string(REPLACE "\r\n" "\n" TREVANA_SAMPLE_PROBLEM "${TREVANA_SAMPLE_PROBLEM}")
set(PROJECT_VERSION ${VERSION})
configure_file(${SOURCE}/index.html.in ${SITE}/index.html @ONLY)
configure_file(${SOURCE}/manifest.webmanifest.in ${SITE}/manifest.webmanifest @ONLY)

# The service worker keeps every file of the page; its version is a digest of them all, so
# any change to the site makes browsers fetch the new one.
file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(SORT files)
set(digests)
set(TREVANA_WEB_FILES "\"./\"")
foreach(file ${files})
  file(SHA256 ${SITE}/${file} digest)
  string(APPEND digests "${file} ${digest}\n")
  string(APPEND TREVANA_WEB_FILES ", \"${file}\"")
endforeach()
string(SHA256 TREVANA_WEB_VERSION "${digests}")
string(SUBSTRING ${TREVANA_WEB_VERSION} 0 16 TREVANA_WEB_VERSION)
configure_file(${SOURCE}/sw.js.in ${SITE}/sw.js @ONLY)

# AppStream's screenshot of the window lives beside the page (not kept for offline use).
file(COPY_FILE ${SCREENSHOT} ${SITE}/screenshot.png)
