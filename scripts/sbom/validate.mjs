// Checks bills of materials in CycloneDX 1.6 JSON: each against the official
// schema, with the CycloneDX library's strict validator, and each package URL
// in it, which must read back as written. Prints what is wrong and exits 1.
//   node validate.mjs FILE.cdx.json...
import { readFileSync } from 'node:fs'
import { Validation } from '@cyclonedx/cyclonedx-library'
import { PackageURL } from 'packageurl-js'

// The library's names for its versions are the versions as written.
const validator = new Validation.JsonStrictValidator('1.6')

function purls (node, found = []) {
  if (Array.isArray(node)) node.forEach(n => purls(n, found))
  else if (node && typeof node === 'object') {
    for (const [key, value] of Object.entries(node)) {
      if (key === 'purl') found.push(value)
      else purls(value, found)
    }
  }
  return found
}

let failed = false
for (const file of process.argv.slice(2)) {
  const text = readFileSync(file, 'utf8')
  const problems = []
  const errors = await validator.validate(text)
  if (errors) problems.push(...errors.map(e => `${e.instancePath || '/'} ${e.message} ${JSON.stringify(e.params)}`))
  for (const purl of purls(JSON.parse(text))) {
    try {
      if (PackageURL.fromString(purl).toString() !== purl) problems.push(`the package URL ${purl} does not read back as written`)
    } catch (err) {
      problems.push(`${purl}: ${err.message}`)
    }
  }
  if (problems.length) {
    failed = true
    console.log(`${file}: not a valid CycloneDX 1.6 bill of materials:`)
    for (const p of problems.slice(0, 20)) console.log(`  ${p}`)
  } else {
    console.log(`${file}: valid CycloneDX 1.6 (strict schema)`)
  }
}
process.exit(failed ? 1 : 0)
