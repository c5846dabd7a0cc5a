// The menu of the page benchmarks, as a project file: one top-level item in
// ten; under it a branch of three and five leaves, each with its page and a
// picture. `header` holds further page settings, one "[Key]\tvalue\r\n" each.
export function benchProject(items, browser, header = '') {
  let pml = `[Title]\tBench\r\n[BgColor]\t#FFFFFF\r\n[Browser]\t${browser}\r\n${header}`;
  pml += '0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n';
  for (let i = 1; i < items; ++i) {
    const depth = i % 10 === 1 ? 1 : i % 10 < 5 ? 2 : 3;
    pml += `${depth}\titem ${i}\t#FFFFFF\tNone\t1\t10pt\tp${i}.html\t0\tFrame2\tlinkto.gif\t0\r\n`;
  }
  return pml;
}
