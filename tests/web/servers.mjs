// The site as a static host serves it, for the page test: it counts the bytes it sends, notes
// every request that finds no file, and can be shut down to take the page offline.
import { readFile, stat } from "node:fs/promises";
import { createServer } from "node:http";
import { extname, join, normalize } from "node:path";

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".webmanifest": "application/manifest+json",
  ".png": "image/png",
  ".svg": "image/svg+xml",
};

function listen(server) {
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server.address().port)));
}

export async function serveSite(folder) {
  const failures = [];
  const served = { bytes: 0 };
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, "http://site").pathname);
    const file = normalize(join(folder, path.endsWith("/") ? `${path}index.html` : path));
    try {
      if (!file.startsWith(folder)) throw new Error("outside the site");
      const modified = (await stat(file)).mtime.toUTCString();
      // As a static host does: a copy the browser holds is confirmed, not sent again.
      if (request.headers["if-modified-since"] === modified) {
        response.writeHead(304).end();
        return;
      }
      const body = await readFile(file);
      response.writeHead(200, { "Content-Type": TYPES[extname(file)] ?? "application/octet-stream", "Last-Modified": modified });
      served.bytes += body.length;
      response.end(body);
    } catch {
      failures.push(request.url);
      response.writeHead(404).end();
    }
  });
  const port = await listen(server);
  return {
    url: `http://127.0.0.1:${port}/`,
    failures,
    served,
    close: () => new Promise((resolve) => {
      server.closeAllConnections();
      server.close(resolve);
    }),
  };
}
