# Puts the page's files and icons beside the engine's module in SITE, and names the service
# worker's cache after the digest of every file, so that each new build replaces what the
# browsers keep. Run with -DSOURCE=web/site -DICONS=res -DSITE=<build>/web-app.
foreach(file index.html app.js app.css png.js manifest.webmanifest)
    configure_file(${SOURCE}/${file} ${SITE}/${file} COPYONLY)
endforeach()
foreach(file quorvel-32.png quorvel.svg)
    configure_file(${ICONS}/${file} ${SITE}/${file} COPYONLY)
endforeach()
set(digests "")
foreach(file index.html app.js app.css png.js manifest.webmanifest quorvel.js quorvel.wasm
             sw.js)
    if(file STREQUAL "sw.js")
        file(SHA256 ${SOURCE}/sw.js digest)
    else()
        file(SHA256 ${SITE}/${file} digest)
    endif()
    string(APPEND digests "${digest}")
endforeach()
string(SHA256 SITE_VERSION "${digests}")
string(SUBSTRING "${SITE_VERSION}" 0 16 SITE_VERSION)
configure_file(${SOURCE}/sw.js ${SITE}/sw.js @ONLY)
